// Unit QVREdit: the Object Inspector editors of the run-time components' properties, and the
// look-up of an object-typed published property by name.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "host/dataclx/Forward.h"
#include "host/designide/DesignEditors.h"
#include "host/runtime/Forward.h"

// The value of the published object property PropName of Instance; nil when Instance's class
// publishes no property of that name, when the property is not object-typed, or when it holds
// nil. Raises EInvalidCast when it holds an object that is not a TPersistent.
TPersistent* GetPropertyValue(TPersistent* Instance, const std::string& PropName);

// ---------------------------------------------------------------------------------------------
// Name lists

// The base of the editors that drop down a list of names. The inspector sorts the list; the
// property stays editable as text, also with several components selected.
class TQVRDBStringProperty : public TStringProperty {
  TIRVENDAL_CLASS(TQVRDBStringProperty)

  // Exactly paValueList, paMultiSelect and paSortList.
  TPropertyAttributes GetAttributes() override;
  // Hands out what GetValueList adds, in that order, duplicates included.
  void GetValues(const TGetStrProc& Proc) override;
  // Adds the names to offer to List (a new, empty, unsorted list); the base adds none.
  virtual void GetValueList(TStrings* List);
};

// SessionName of a database: every session.
class TQVRSessionNameProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TQVRSessionNameProperty)

  void GetValueList(TStrings* List) override;
};

// DatabaseName of a data set: the databases of the first selected data set's session.
class TQVRDatabaseNameProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TQVRDatabaseNameProperty)

  void GetValueList(TStrings* List) override;
};

// TableName of a table: the tables of the first selected table's database.
class TQVRTableNameProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TQVRTableNameProperty)

  void GetValueList(TStrings* List) override;
};

// IndexName of a table: the names of the first selected table's index definitions, read afresh.
class TQVRIndexNameProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TQVRIndexNameProperty)

  void GetValueList(TStrings* List) override;
};

// IndexFieldNames of a table: the field list of each of the first selected table's indexes
// that orders ascending by fields (no descending key, no expression), read afresh.
class TQVRIndexFieldNamesProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TQVRIndexFieldNamesProperty)

  void GetValueList(TStrings* List) override;
};

// ---------------------------------------------------------------------------------------------
// Master fields

// MasterFields of a table: the Field Link Designer, run on the work table, a copy of the
// selected table made for the run, so the index browsing of the designer never reaches the
// table itself. The table receives MasterFields and its index only after OK.
class TQVRFieldLinkProperty : public TQVRBaseFieldLinkProperty {
  TIRVENDAL_CLASS(TQVRFieldLinkProperty)

  TQVRFieldLinkProperty();
  ~TQVRFieldLinkProperty() override;

  // Copies the table onto a new work table, runs the designer and, after OK, writes
  // MasterFields and then the index back to the table (WriteMasterLink). A write-back that fails
  // half way gives the table its old values again before the error goes on. The work table is
  // freed on every path.
  void Edit() override;

  // The contract, answered from the work table; outside Edit there is none and they raise
  // EInvalidOperation. An order the open work table cannot take (an index or a field that is
  // gone) is held as a closed table holds it, read back as set and offering no fields, so a
  // stale link opens in the designer and an unchanged OK writes it back as it was.
  void GetFieldNamesForIndex(TStrings* List) override;
  // Always true: a table follows its master through an index.
  bool GetIndexBased() override;
  TIndexDefs* GetIndexDefs() override;
  std::string GetIndexFieldNames() override;
  std::string GetIndexName() override;
  std::string GetMasterFields() override;
  void SetIndexFieldNames(const std::string& Value) override;
  void SetIndexName(const std::string& Value) override;
  void SetMasterFields(const std::string& Value) override;

 private:
  TQVRTable& WorkTable() const;
  // Orders the work table by IndexFieldNames when it is not empty, else by IndexName; holds
  // the order when the work table cannot take it.
  void TakeOrder(const std::string& IndexName, const std::string& IndexFieldNames);

  std::unique_ptr<TQVRTable> FWorkTable;  // owned, only while Edit runs
  struct THeldOrder {
    std::string IndexName;
    std::string IndexFieldNames;
  };
  std::optional<THeldOrder> FHeldOrder;  // the order set last, when the work table refused it
};
