// TQVRSession and TQVRSessionList.
#include "host/runtime/Session.h"

#include <algorithm>

#include "host/dataclx/DatabaseError.h"
#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"
#include "host/rtl/UpdateScope.h"
#include "host/runtime/Database.h"

TClass TQVRSession::StaticClass() {
  static const TClassInfo info = TClassBuilder<TQVRSession>(TObject::StaticClass()).Build();
  return &info;
}

TClass TQVRSessionList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TQVRSessionList>(TObject::StaticClass()).Build();
  return &info;
}

TQVRSession::TQVRSession(std::string SessionName) : FSessionName(std::move(SessionName)) {}

TQVRSession::~TQVRSession() = default;

void TQVRSession::GetDatabaseNames(TStrings* List) const {
  TUpdateScope update(List);
  for (TQVRDatabase* database : FDatabases) List->Add(database->DatabaseName());
}

void TQVRSession::GetTableNames(const std::string& DatabaseName, TStrings* List) const {
  if (TQVRDatabase* database = FindDatabase(DatabaseName)) database->GetTableNames(List);
}

TQVRDatabase* TQVRSession::FindDatabase(std::string_view DatabaseName) const {
  if (DatabaseName.empty()) return nullptr;
  for (TQVRDatabase* database : FDatabases)
    if (SameText(database->DatabaseName(), DatabaseName)) return database;
  return nullptr;
}

TQVRDatabase* TQVRSession::Databases(int Index) const {
  if (Index < 0 || Index >= DatabaseCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FDatabases[static_cast<size_t>(Index)];
}

void TQVRSession::AddDatabase(TQVRDatabase* Database) {
  TQVRDatabase* other = FindDatabase(Database->DatabaseName());
  if (other && other != Database) DatabaseError("Duplicate database name '" + Database->DatabaseName() + "'", Database);
  if (other) return;
  auto later = std::upper_bound(FDatabases.begin(), FDatabases.end(), Database,
                                [](auto* a, auto* b) { return a->CreationSerial() < b->CreationSerial(); });
  FDatabases.insert(later, Database);
}

void TQVRSession::RemoveDatabase(TQVRDatabase* Database) {
  FDatabases.erase(std::remove(FDatabases.begin(), FDatabases.end(), Database), FDatabases.end());
}

TQVRSessionList::TQVRSessionList() { FSessions.push_back(std::make_unique<TQVRSession>("Default")); }

TQVRSessionList::~TQVRSessionList() = default;

TQVRSession* TQVRSessionList::Sessions(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FSessions[static_cast<size_t>(Index)].get();
}

void TQVRSessionList::GetSessionNames(TStrings* List) const {
  TUpdateScope update(List);
  for (const auto& session : FSessions) List->Add(session->SessionName());
}

TQVRSession* TQVRSessionList::FindSession(std::string_view SessionName) const {
  if (SessionName.empty()) return DefaultSession();
  for (const auto& session : FSessions)
    if (SameText(session->SessionName(), SessionName)) return session.get();
  return nullptr;
}

TQVRSession* TQVRSessionList::OpenSession(const std::string& SessionName) {
  if (TQVRSession* session = FindSession(SessionName)) return session;
  FSessions.push_back(std::make_unique<TQVRSession>(SessionName));
  return FSessions.back().get();
}

TQVRSession* TQVRSessionList::SessionOfDatabase(std::string_view DatabaseName) const {
  for (const auto& session : FSessions)
    if (session->FindDatabase(DatabaseName)) return session.get();
  return DefaultSession();
}

TQVRSessionList& Sessions() {
  static TQVRSessionList list;
  return list;
}
