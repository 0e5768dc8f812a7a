// TQVRTable: a table of a database file, with its field and index definitions, the order it
// is read in (a named index or a list of fields) and its link to a master data set.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/dataclx/DataSource.h"
#include "host/dataclx/IndexDef.h"
#include "host/runtime/AdvFieldDefs.h"
#include "host/runtime/QVRDataSet.h"

class TQVRTable : public TQVRDataSet {
  TIRVENDAL_CLASS(TQVRTable)

  explicit TQVRTable(TComponent* Owner);
  ~TQVRTable() override;

  const std::string& TableName() const { return FTableName; }
  void SetTableName(const std::string& Value);
  bool Temporary() const { return FTemporary; }
  void SetTemporary(bool Value) { FTemporary = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  // IndexName and IndexFieldNames exclude each other: the table has one current order, so
  // setting either, even to empty, empties the other. With both empty the table is ordered by
  // its primary key. On an open table an unknown index or field name raises
  // EDatabaseError and leaves the setting as it was; set on a closed table, it is checked at Open.
  std::string GetIndexName() const { return FIndexName; }
  void SetIndexName(const std::string& Value);
  std::string GetIndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const std::string& Value);
  // The master's fields, joined by ";", that the first index fields are matched with.
  std::string GetMasterFields() const { return FMasterFields; }
  void SetMasterFields(const std::string& Value);
  TDataSource* MasterSource() const { return FMasterSource; }
  // Raises EDatabaseError "Circular datalinks are not allowed" when the source shows this table
  // or a detail of it.
  void SetMasterSource(TDataSource* Value);
  TDataSource* DataSource() const override { return FMasterSource; }

  TIndexDefs* IndexDefs() const { return FIndexDefs.get(); }
  void SetIndexDefs(TIndexDefs* Value);
  void SetFieldDefs(TFieldDefs* Value);
  TQVRAdvFieldDefs* AdvFieldDefs() const { return FAdvFieldDefs.get(); }
  void SetAdvFieldDefs(TQVRAdvFieldDefs* Value);

  // The fields of the current order (see IndexName) on an open table; raises EDatabaseError on
  // a closed one.
  int GetIndexFieldCount() const;
  TField* GetIndexField(int Index) const;

  // True when another program changed the file since the first records were read (or the
  // file was replaced): the records held would mix two states of it, so reading on raises
  // EDatabaseError until Refresh.
  bool RecordsOutdated() const;
  // Reads the records afresh from the first on; the data links hear of the change. Raises
  // EDatabaseError on a closed table.
  void Refresh();

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void UpdateIndexDefs() override;
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  class TMasterLink;
  friend class TMasterLink;

  // The order the records are read in: fields (each ascending or descending) or an index's
  // expression key list, which is one key to a master (its first key is compared).
  struct TOrder {
    std::vector<TField*> Fields;
    std::vector<bool> Descending;
    std::string Expression;
    std::string ExpressionKey;
    size_t KeyCount() const { return Expression.empty() ? Fields.size() : 1; }
  };
  // The order that IndexName/IndexFieldNames give on the open table; raises EDatabaseError for
  // an unknown index or field.
  TOrder ResolveOrder(const std::string& IndexName, const std::string& IndexFieldNames) const;
  // On the open table: checks the new order and reads the records in it; on any failure the
  // table keeps its previous order.
  void Reorder(const std::string& IndexName, const std::string& IndexFieldNames);
  void CheckTableName() const;
  TSqliteConnection& Connection() const;
  // Gives the data set a reader of the records in the current order (only those matching the
  // master's current record when there is an open master); nothing is read before a record is
  // asked for.
  void RestartRecords();
  void MasterChanged();
  class TRowReader;
  // The master when it restricts the records: open, and MasterFields set.
  TDataSet* ActiveMaster() const;
  // The master's current values of MasterFields; false when the master has no record.
  bool MasterValues(std::vector<std::optional<std::string>>& Values) const;
  // The query of a page of the records in the current order with MasterCount restricting
  // fields (then the page's size and offset), compiled anew only when it or the connection
  // changed.
  TSqliteStatement& RowStatement(size_t MasterCount);

  std::string FTableName;
  bool FTemporary = false;
  bool FReadOnly = false;
  std::string FIndexName;
  std::string FIndexFieldNames;
  std::string FMasterFields;
  TDataSource* FMasterSource = nullptr;
  std::unique_ptr<TIndexDefs> FIndexDefs;
  std::unique_ptr<TQVRAdvFieldDefs> FAdvFieldDefs;
  std::unique_ptr<TMasterLink> FMasterLink;
  TOrder FOrder;  // while open
  std::unique_ptr<TSqliteStatement> FRowStatement;
  std::string FRowStatementSql;
  uint64_t FRowStatementConnection = 0;
  // The file as the records were read from it: the connection and its data version.
  struct TReadState {
    uint64_t Connection = 0;
    int64_t DataVersion = -1;
    bool operator==(const TReadState&) const = default;
  };
  std::optional<TReadState> FReadState;  // none until a record was read
  TReadState CurrentReadState() const;
};
