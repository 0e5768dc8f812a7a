// TQVRDataSet: the base of the run-time data sets; it finds its database by name.
#pragma once

#include <string>

#include "host/dataclx/DataSet.h"
#include "host/runtime/Forward.h"

class TQVRDataSet : public TDataSet {
  TIRVENDAL_CLASS(TQVRDataSet)

  explicit TQVRDataSet(TComponent* Owner);

  // The name of the database (TQVRDatabase::DatabaseName) this data set reads from.
  const std::string& DatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& Value);
  bool InMemory() const { return FInMemory; }
  void SetInMemory(bool Value) { FInMemory = Value; }

  // The session that knows a database of this data set's DatabaseName; the default session
  // when none does. Never nil.
  TQVRSession* GetDBSession() const;
  // The database of that name in that session, or nil.
  TQVRDatabase* Database() const;

 protected:
  // As Database, but raises EDatabaseError when there is none.
  TQVRDatabase& RequireDatabase() const;

 private:
  std::string FDatabaseName;
  bool FInMemory = false;
};
