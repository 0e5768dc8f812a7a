// Unit QVREdit: the property editors of the run-time components.
#include "editors/QVREdit.h"

#include "host/dataclx/Db.h"
#include "host/dataclx/FieldList.h"
#include "host/runtime/MasterLink.h"
#include "host/runtime/Qvrmain.h"

namespace {

// True when the table's stored order names an index or a field that the definitions just read
// lack: an order left behind by a dropped index or a renamed column.
bool StoredOrderIsStale(TQVRTable* Table, const TIndexDefs* Defs) {
  if (!Table->GetIndexName().empty()) return !Defs->TDefCollection::Find(Table->GetIndexName());
  if (Table->GetIndexFieldNames().empty()) return false;
  Table->FieldDefs()->Update();
  for (const std::string& name : SplitFieldList(Table->GetIndexFieldNames()))
    if (!FindListedDef(Table->FieldDefs(), name)) return true;
  return false;
}

// The index definitions of a closed table that would not open, read without opening it, when
// its stored order alone is what failed; nil for any other failure.
TIndexDefs* IndexDefsDespiteStaleOrder(TQVRTable* Table) {
  try {
    auto* defs = As<TIndexDefs>(GetPropertyValue(Table, "IndexDefs"));
    if (!defs) return nullptr;
    defs->SetUpdated(false);
    defs->Update();
    return StoredOrderIsStale(Table, defs) ? defs : nullptr;
  } catch (const Exception&) {
    return nullptr;  // the opening's own error is the one to report
  }
}

// The index definitions of a table, read afresh from its file. A closed table is opened for
// the reading and closed again, also when the reading fails, so a drop-down never leaves a
// table active. When the opening fails only because the stored IndexName or IndexFieldNames
// no longer exists, the definitions are read from the closed table, so the list that repairs
// the value can still be shown. Nil when the table's class publishes no object property
// "IndexDefs".
TIndexDefs* GetTableIndexDefs(TPersistent* Component) {
  TQVRTable* table = As<TQVRTable>(Component);
  bool wasActive = table->Active();
  if (!wasActive) {
    try {
      table->Open();
    } catch (const EDatabaseError&) {
      if (TIndexDefs* defs = IndexDefsDespiteStaleOrder(table)) return defs;
      throw;
    }
  }
  TIndexDefs* defs;
  try {
    defs = As<TIndexDefs>(GetPropertyValue(table, "IndexDefs"));
    if (defs) {
      defs->SetUpdated(false);
      defs->Update();
    }
  } catch (...) {
    if (!wasActive) table->Close();
    throw;
  }
  if (!wasActive) table->Close();
  return defs;
}

}  // namespace

TPersistent* GetPropertyValue(TPersistent* Instance, const std::string& PropName) {
  const TPropInfo* prop = Instance ? GetPropInfo(Instance->ClassType(), PropName) : nullptr;
  if (!prop || prop->Kind != tkClass) return nullptr;
  return As<TPersistent>(GetObjectProp(Instance, prop));
}

// ---------------------------------------------------------------------------------------------
// TQVRDBStringProperty

TClass TQVRDBStringProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRDBStringProperty>(TStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TQVRDBStringProperty::GetAttributes() { return {paValueList, paMultiSelect, paSortList}; }

void TQVRDBStringProperty::GetValues(const TGetStrProc& Proc) {
  TStringList values;
  GetValueList(&values);
  for (int i = 0; i < values.Count(); ++i) Proc(values.Strings(i));
}

void TQVRDBStringProperty::GetValueList(TStrings* List) {}

// ---------------------------------------------------------------------------------------------
// TQVRSessionNameProperty

TClass TQVRSessionNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRSessionNameProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

void TQVRSessionNameProperty::GetValueList(TStrings* List) { Sessions().GetSessionNames(List); }

// ---------------------------------------------------------------------------------------------
// TQVRDatabaseNameProperty

TClass TQVRDatabaseNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRDatabaseNameProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

void TQVRDatabaseNameProperty::GetValueList(TStrings* List) {
  As<TQVRDataSet>(GetComponent(0))->GetDBSession()->GetDatabaseNames(List);
}

// ---------------------------------------------------------------------------------------------
// TQVRTableNameProperty

TClass TQVRTableNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRTableNameProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

void TQVRTableNameProperty::GetValueList(TStrings* List) {
  TQVRDataSet* dataSet = As<TQVRDataSet>(GetComponent(0));
  dataSet->GetDBSession()->GetTableNames(dataSet->DatabaseName(), List);
}

// ---------------------------------------------------------------------------------------------
// TQVRIndexNameProperty

TClass TQVRIndexNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRIndexNameProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

void TQVRIndexNameProperty::GetValueList(TStrings* List) {
  if (TIndexDefs* defs = GetTableIndexDefs(GetComponent(0))) defs->GetItemNames(List);
}

// ---------------------------------------------------------------------------------------------
// TQVRIndexFieldNamesProperty

TClass TQVRIndexFieldNamesProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRIndexFieldNamesProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

void TQVRIndexFieldNamesProperty::GetValueList(TStrings* List) {
  TIndexDefs* defs = GetTableIndexDefs(GetComponent(0));
  if (!defs) return;
  for (int i = 0; i < defs->Count(); ++i) {
    TIndexDef* def = defs->Items(i);
    if (def->Options().Contains(ixDescending) || def->Options().Contains(ixExpression)) continue;
    if (def->Fields().empty()) continue;
    List->Add(def->Fields());
  }
}

// ---------------------------------------------------------------------------------------------
// TQVRFieldLinkProperty

namespace {

// The designer's copy of a table. One showing of the designer reads one structure: the one the
// work table opened with, so another program's change in between cannot set index definitions
// beside fields of another version; asking the open work table to read them again keeps them.
class TWorkTable : public TQVRTable {
 public:
  TWorkTable() : TQVRTable(nullptr) {}

 protected:
  void UpdateIndexDefs() override {
    if (!Active()) TQVRTable::UpdateIndexDefs();
  }
};

}  // namespace

TClass TQVRFieldLinkProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRFieldLinkProperty>(TQVRBaseFieldLinkProperty::StaticClass()).Constructible().Build();
  return &info;
}

TQVRFieldLinkProperty::TQVRFieldLinkProperty() = default;

TQVRFieldLinkProperty::~TQVRFieldLinkProperty() = default;

TQVRTable& TQVRFieldLinkProperty::WorkTable() const {
  if (!FWorkTable) throw EInvalidOperation(ClassName() + " has a work table only while its Edit runs");
  return *FWorkTable;
}

void TQVRFieldLinkProperty::Edit() {
  CheckDesigner();
  TQVRTable* table = As<TQVRTable>(GetDataSet());
  FWorkTable = std::make_unique<TWorkTable>();
  FHeldOrder.reset();
  struct TWorkTableScope {
    std::unique_ptr<TQVRTable>& Work;
    ~TWorkTableScope() { Work.reset(); }
  } scope{FWorkTable};
  TQVRTable& work = *FWorkTable;

  // The copy's errors name the table, as the table's own do; it belongs to no form, so the
  // name is nobody else's.
  work.SetName(table->Name());
  work.SetDatabaseName(table->DatabaseName());
  work.SetInMemory(table->InMemory());
  work.SetTemporary(table->Temporary());
  work.SetTableName(table->TableName());
  work.SetReadOnly(table->ReadOnly());
  work.FieldDefs()->Assign(table->FieldDefs());
  work.IndexDefs()->Assign(table->IndexDefs());
  work.AdvFieldDefs()->Assign(table->AdvFieldDefs());
  work.Open();
  TakeOrder(table->GetIndexName(), table->GetIndexFieldNames());
  work.SetMasterFields(table->GetMasterFields());

  // The designer binds to the table itself; every index and link value goes to the work table.
  TQVRBaseFieldLinkProperty::Edit();
  if (!LinkChanged()) return;

  const std::string indexFieldNames = TQVRFieldLinkProperty::GetIndexFieldNames();
  const std::string indexName = TQVRFieldLinkProperty::GetIndexName();
  WriteMasterLink(*table, work.GetMasterFields(), indexName, indexFieldNames);
}

void TQVRFieldLinkProperty::TakeOrder(const std::string& IndexName, const std::string& IndexFieldNames) {
  TQVRTable& work = WorkTable();
  try {
    if (!IndexFieldNames.empty())
      work.SetIndexFieldNames(IndexFieldNames);
    else
      work.SetIndexName(IndexName);
    FHeldOrder.reset();
  } catch (const EDatabaseError&) {
    FHeldOrder = THeldOrder{IndexFieldNames.empty() ? IndexName : std::string(), IndexFieldNames};
  }
}

void TQVRFieldLinkProperty::GetFieldNamesForIndex(TStrings* List) {
  TQVRTable& work = WorkTable();
  if (FHeldOrder) return;
  for (int i = 0, n = work.GetIndexFieldCount(); i < n; ++i) List->Add(work.GetIndexField(i)->FieldName());
}

bool TQVRFieldLinkProperty::GetIndexBased() { return true; }

TIndexDefs* TQVRFieldLinkProperty::GetIndexDefs() { return WorkTable().IndexDefs(); }

std::string TQVRFieldLinkProperty::GetIndexFieldNames() {
  TQVRTable& work = WorkTable();
  return FHeldOrder ? FHeldOrder->IndexFieldNames : work.GetIndexFieldNames();
}

std::string TQVRFieldLinkProperty::GetIndexName() {
  TQVRTable& work = WorkTable();
  return FHeldOrder ? FHeldOrder->IndexName : work.GetIndexName();
}

std::string TQVRFieldLinkProperty::GetMasterFields() { return WorkTable().GetMasterFields(); }

void TQVRFieldLinkProperty::SetIndexFieldNames(const std::string& Value) { TakeOrder({}, Value); }

void TQVRFieldLinkProperty::SetIndexName(const std::string& Value) { TakeOrder(Value, {}); }

void TQVRFieldLinkProperty::SetMasterFields(const std::string& Value) { WorkTable().SetMasterFields(Value); }
