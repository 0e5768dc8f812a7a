// TQVRTable: structure read from the file, the order of its records and the master link.
#include "host/runtime/Table.h"

#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Database.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"

namespace {

bool InFieldList(std::string_view List, std::string_view Name) {
  for (const std::string& entry : SplitFieldList(List))
    if (SameText(entry, Name)) return true;
  return false;
}

}  // namespace

// Tells the table when its master opens, closes or moves to another record.
class TQVRTable::TMasterLink : public TDataLink {
 public:
  explicit TMasterLink(TQVRTable& Table) : FTable(Table) {}

 protected:
  void ActiveChanged() override { FTable.MasterChanged(); }
  void DataSetChanged() override { FTable.MasterChanged(); }
  void DataSetScrolled(int Distance) override { FTable.MasterChanged(); }

 private:
  TQVRTable& FTable;
};

TClass TQVRTable::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRTable>("TQVRTable", TQVRDataSet::StaticClass())
          .Component()
          .String("TableName", &TQVRTable::TableName, &TQVRTable::SetTableName)
          .Boolean("Temporary", &TQVRTable::Temporary, &TQVRTable::SetTemporary)
          .Boolean("ReadOnly", &TQVRTable::ReadOnly, &TQVRTable::SetReadOnly)
          .Object<TDataSource>("MasterSource", &TQVRTable::MasterSource, &TQVRTable::SetMasterSource)
          .String("IndexName", &TQVRTable::GetIndexName, &TQVRTable::SetIndexName)
          .String("IndexFieldNames", &TQVRTable::GetIndexFieldNames, &TQVRTable::SetIndexFieldNames)
          .String("MasterFields", &TQVRTable::GetMasterFields, &TQVRTable::SetMasterFields)
          .Object<TIndexDefs>("IndexDefs", &TQVRTable::IndexDefs, &TQVRTable::SetIndexDefs, false)
          .Object<TFieldDefs>("FieldDefs", &TQVRTable::FieldDefs, &TQVRTable::SetFieldDefs, false)
          .Build();
  return &info;
}

TQVRTable::TQVRTable(TComponent* Owner)
    : TQVRDataSet(Owner),
      FIndexDefs(std::make_unique<TIndexDefs>(this)),
      FAdvFieldDefs(std::make_unique<TQVRAdvFieldDefs>(this)),
      FMasterLink(std::make_unique<TMasterLink>(*this)) {}

TQVRTable::~TQVRTable() {
  // Closing tells the details of this table, which read their records again; a failure there
  // has nobody left to report to.
  try {
    Close();
  } catch (...) {
  }
  FMasterLink->SetDataSource(nullptr);
}

void TQVRTable::SetTableName(const std::string& Value) {
  if (Value == FTableName) return;
  CheckInactive();
  FTableName = Value;
  FieldDefs()->SetUpdated(false);
  FIndexDefs->SetUpdated(false);
}

void TQVRTable::SetIndexName(const std::string& Value) {
  if (Active()) Reorder(Value, {});
  FIndexName = Value;
  FIndexFieldNames.clear();
}

void TQVRTable::SetIndexFieldNames(const std::string& Value) {
  if (Active()) Reorder({}, Value);
  FIndexFieldNames = Value;
  FIndexName.clear();
}

void TQVRTable::SetMasterFields(const std::string& Value) {
  if (Value == FMasterFields) return;
  std::string previous = std::move(FMasterFields);
  FMasterFields = Value;
  if (!Active()) return;
  try {
    FetchRecords();
  } catch (...) {
    FMasterFields = std::move(previous);
    throw;
  }
}

void TQVRTable::SetMasterSource(TDataSource* Value) {
  if (Value == FMasterSource) return;
  if (Value && IsLinkedTo(Value)) DatabaseError("Circular datalinks are not allowed", this);
  TDataSource* previous = FMasterSource;
  auto attach = [this](TDataSource* Source) {
    if (FMasterSource) RemoveFreeNotification(FMasterSource);
    FMasterSource = Source;
    if (FMasterSource) FreeNotification(FMasterSource);
    FMasterLink->SetDataSource(Source);  // an open table reads its records for the new master
  };
  try {
    attach(Value);
  } catch (...) {
    attach(previous);
    throw;
  }
}

void TQVRTable::SetIndexDefs(TIndexDefs* Value) { FIndexDefs->Assign(Value); }

void TQVRTable::SetFieldDefs(TFieldDefs* Value) { FieldDefs()->Assign(Value); }

void TQVRTable::SetAdvFieldDefs(TQVRAdvFieldDefs* Value) { FAdvFieldDefs->Assign(Value); }

int TQVRTable::GetIndexFieldCount() const {
  CheckActive();
  return static_cast<int>(FOrder.Fields.size());
}

TField* TQVRTable::GetIndexField(int Index) const {
  CheckActive();
  if (Index < 0 || Index >= static_cast<int>(FOrder.Fields.size()))
    DatabaseError(Format("Index field position %d out of range", {Index}), const_cast<TQVRTable*>(this));
  return FOrder.Fields[static_cast<size_t>(Index)];
}

void TQVRTable::CheckTableName() const {
  if (FTableName.empty()) DatabaseError("Missing TableName", const_cast<TQVRTable*>(this));
}

TSqliteConnection& TQVRTable::Connection() const {
  CheckTableName();
  return RequireDatabase().Connection();
}

void TQVRTable::InternalOpen() {
  TSqliteConnection& db = Connection();
  ReadFieldDefs(db, FTableName, FieldDefs(), FAdvFieldDefs.get(), this);
  FieldDefs()->SetUpdated(true);
  ReadIndexDefs(db, FTableName, FIndexDefs.get(), this);
  FIndexDefs->SetUpdated(true);
  CreateFields();
  FOrder = ResolveOrder(FIndexName, FIndexFieldNames);
  FetchRecords();
}

void TQVRTable::InternalClose() { FOrder = {}; }

void TQVRTable::InternalInitFieldDefs() {
  ReadFieldDefs(Connection(), FTableName, FieldDefs(), FAdvFieldDefs.get(), this);
}

void TQVRTable::UpdateIndexDefs() { ReadIndexDefs(Connection(), FTableName, FIndexDefs.get(), this); }

void TQVRTable::Notification(TComponent* Component, TOperation Operation) {
  TQVRDataSet::Notification(Component, Operation);
  if (Operation == opRemove && Component == FMasterSource) {
    FMasterSource = nullptr;
    FMasterLink->SetDataSource(nullptr);
  }
}

void TQVRTable::Reorder(const std::string& IndexName, const std::string& IndexFieldNames) {
  // Check the new order before taking it, so an unknown index leaves the table as it was.
  TOrder order = ResolveOrder(IndexName, IndexFieldNames);
  std::swap(FOrder, order);
  try {
    FetchRecords();
  } catch (...) {
    std::swap(FOrder, order);
    throw;
  }
}

TQVRTable::TOrder TQVRTable::ResolveOrder(const std::string& IndexName, const std::string& IndexFieldNames) const {
  auto* self = const_cast<TQVRTable*>(this);
  TOrder order;
  std::vector<std::string> names;
  std::string descFields;
  bool allDescending = false;
  const TIndexDef* def = nullptr;
  if (!IndexName.empty()) {
    def = static_cast<const TIndexDef*>(FIndexDefs->TDefCollection::Find(IndexName));
    if (!def) DatabaseError("Index '" + IndexName + "' not found", self);
  } else if (IndexFieldNames.empty()) {
    // Neither is set: the primary key gives the order, when the table has one.
    for (int i = 0; i < FIndexDefs->Count() && !def; ++i)
      if (FIndexDefs->Items(i)->Options().Contains(ixPrimary)) def = FIndexDefs->Items(i);
  }
  if (def) {
    if (def->Options().Contains(ixExpression)) {
      order.Expression = def->Expression();
      return order;
    }
    names = SplitFieldList(def->Fields());
    descFields = def->DescFields();
    allDescending = def->Options().Contains(ixDescending) && descFields.empty();
  } else {
    names = SplitFieldList(IndexFieldNames);
  }
  for (const std::string& name : names) {
    TField* field = FindField(name);
    if (!field) DatabaseError("Field '" + name + "' not found", self);
    order.Fields.push_back(field);
    order.Descending.push_back(allDescending || InFieldList(descFields, name));
  }
  return order;
}

void TQVRTable::FetchRecords() {
  const int fieldCount = Fields()->Count();
  std::string sql = "SELECT ";
  for (int i = 0; i < fieldCount; ++i) {
    if (i > 0) sql += ", ";
    sql += QuoteIdentifier(Fields()->Fields(i)->FieldName());
  }
  sql += " FROM " + QuoteIdentifier(FTableName);

  // A detail shows the records whose first order fields hold the master's current values.
  std::vector<std::optional<std::string>> masterValues;
  TDataSet* master = FMasterSource ? FMasterSource->DataSet() : nullptr;
  bool noMasterRecord = false;
  if (master && master->Active() && !FMasterFields.empty()) {
    std::vector<std::string> masterNames = SplitFieldList(FMasterFields);
    if (masterNames.size() > FOrder.Fields.size())
      DatabaseError("Master fields '" + FMasterFields + "' do not match the index fields", this);
    noMasterRecord = master->IsEmpty();
    for (size_t i = 0; i < masterNames.size(); ++i) {
      TField* field = master->FieldByName(masterNames[i]);
      sql += i == 0 ? " WHERE " : " AND ";
      sql += QuoteIdentifier(FOrder.Fields[i]->FieldName()) + " IS ?" + std::to_string(i + 1);
      masterValues.push_back(field->IsNull() ? std::nullopt : std::optional<std::string>(field->AsString()));
    }
  }

  if (!FOrder.Expression.empty()) {
    sql += " ORDER BY " + FOrder.Expression;
  } else if (!FOrder.Fields.empty()) {
    sql += " ORDER BY ";
    for (size_t i = 0; i < FOrder.Fields.size(); ++i) {
      if (i > 0) sql += ", ";
      sql += QuoteIdentifier(FOrder.Fields[i]->FieldName());
      if (FOrder.Descending[i]) sql += " DESC";
    }
  }

  std::vector<TRecordValue> values;
  if (!noMasterRecord) {
    TSqliteStatement statement = Connection().PrepareOnce(sql);
    TStatementRun run(statement);
    for (size_t i = 0; i < masterValues.size(); ++i) {
      int index = static_cast<int>(i) + 1;
      masterValues[i] ? run->Bind(index, *masterValues[i]) : run->BindNull(index);
    }
    while (run->Step())
      for (int i = 0; i < fieldCount; ++i)
        values.push_back(run->IsNull(i) ? std::nullopt : TRecordValue(std::string(run->ColumnText(i))));
  }
  SetRecordData(fieldCount, std::move(values));
}

void TQVRTable::MasterChanged() {
  if (Active()) FetchRecords();
}
