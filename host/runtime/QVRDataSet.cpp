// TQVRDataSet: finding the session and the database a data set works with.
#include "host/runtime/QVRDataSet.h"

#include "host/dataclx/DatabaseError.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Database.h"
#include "host/runtime/Session.h"

TClass TQVRDataSet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TQVRDataSet>(TDataSet::StaticClass())
                                     .String("DatabaseName", &TQVRDataSet::DatabaseName, &TQVRDataSet::SetDatabaseName)
                                     .Boolean("InMemory", &TQVRDataSet::InMemory, &TQVRDataSet::SetInMemory)
                                     .Build();
  return &info;
}

TQVRDataSet::TQVRDataSet(TComponent* Owner) : TDataSet(Owner) {}

void TQVRDataSet::SetDatabaseName(const std::string& Value) {
  if (Value == FDatabaseName) return;
  CheckInactive();
  FDatabaseName = Value;
  FieldDefs()->SetUpdated(false);
}

TQVRSession* TQVRDataSet::GetDBSession() const { return Sessions().SessionOfDatabase(FDatabaseName); }

TQVRDatabase* TQVRDataSet::Database() const { return GetDBSession()->FindDatabase(FDatabaseName); }

TQVRDatabase& TQVRDataSet::RequireDatabase() const {
  auto* self = const_cast<TQVRDataSet*>(this);
  if (FDatabaseName.empty()) DatabaseError("Missing DatabaseName", self);
  TQVRDatabase* database = Database();
  if (!database) DatabaseError("Database '" + FDatabaseName + "' not found", self);
  return *database;
}
