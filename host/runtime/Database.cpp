// TQVRDatabase: its place in a session and its connection to the file.
#include "host/runtime/Database.h"

#include <filesystem>

#include "host/dataclx/DatabaseError.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Session.h"
#include "host/runtime/Sqlite.h"

namespace {

uint64_t NextSerial() {
  static uint64_t serial = 0;
  return ++serial;
}

}  // namespace

TClass TQVRDatabase::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRDatabase>(TComponent::StaticClass())
          .Component()
          .String("DatabaseName", &TQVRDatabase::DatabaseName, &TQVRDatabase::SetDatabaseName)
          .String("DatabaseFileName", &TQVRDatabase::DatabaseFileName, &TQVRDatabase::SetDatabaseFileName)
          .String("SessionName", &TQVRDatabase::SessionName, &TQVRDatabase::SetSessionName)
          .Build();
  return &info;
}

TQVRDatabase::TQVRDatabase(TComponent* Owner) : TComponent(Owner), FSerial(NextSerial()) {}

TQVRDatabase::~TQVRDatabase() { Session()->RemoveDatabase(this); }

TQVRSession* TQVRDatabase::Session() const {
  TQVRSession* session = Sessions().FindSession(FSessionName);
  return session ? session : Sessions().DefaultSession();
}

void TQVRDatabase::SetDatabaseName(const std::string& Value) {
  if (Value == FDatabaseName) return;
  TQVRSession* session = Session();
  TQVRDatabase* other = session->FindDatabase(Value);
  if (other && other != this) DatabaseError("Duplicate database name '" + Value + "'", this);
  session->RemoveDatabase(this);
  FDatabaseName = Value;
  if (!FDatabaseName.empty()) session->AddDatabase(this);
}

void TQVRDatabase::SetSessionName(const std::string& Value) {
  if (Value == FSessionName) return;
  TQVRSession* target = Sessions().OpenSession(Value);
  TQVRSession* current = Session();
  if (target != current && !FDatabaseName.empty()) {
    TQVRDatabase* other = target->FindDatabase(FDatabaseName);
    if (other) DatabaseError("Duplicate database name '" + FDatabaseName + "'", this);
    current->RemoveDatabase(this);
    target->AddDatabase(this);
  }
  FSessionName = Value;
}

void TQVRDatabase::SetDatabaseFileName(const std::string& Value) {
  if (Value == FDatabaseFileName) return;
  CloseConnection();
  FDatabaseFileName = Value;
}

std::string TQVRDatabase::DatabaseFilePath() const {
  if (FDatabaseFileName.empty() || FDatabaseFileName.front() == '/') return FDatabaseFileName;
  std::string folder = FormFolder();
  if (folder.empty()) return FDatabaseFileName;
  return (std::filesystem::path(folder) / FDatabaseFileName).string();
}

void TQVRDatabase::GetTableNames(TStrings* List) { ReadTableNames(Connection(), List); }

TSqliteConnection& TQVRDatabase::Connection() {
  if (FConnection && FConnection->Stale()) FConnection.reset();
  if (!FConnection) FConnection = TSqliteConnection::OpenReadOnly(DatabaseFilePath(), this);
  return *FConnection;
}

void TQVRDatabase::CloseConnection() { FConnection.reset(); }
