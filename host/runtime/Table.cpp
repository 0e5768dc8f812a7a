// TQVRTable: structure read from the file, the order of its records and the master link.
#include "host/runtime/Table.h"

#include <algorithm>
#include <string_view>

#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Database.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"

namespace {

// The first key of an index's expression key list ("lower(a) DESC, b": "lower(a)"), without its
// ASC or DESC, as a term that a value can be compared with.
std::string FirstExpressionKey(std::string_view KeyList) {
  int depth = 0;
  size_t end = KeyList.size();
  for (size_t i = 0; i < KeyList.size() && end == KeyList.size(); ++i) {
    char c = KeyList[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t closing = KeyList.find(close, i + 1);
      i = closing == std::string_view::npos ? KeyList.size() : closing;  // a doubled quote reopens at once
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      end = i;
    }
  }
  std::string key = Trim(KeyList.substr(0, end));
  size_t word = key.find_last_of(" \t\r\n");
  if (word != std::string::npos && (SameText(key.substr(word + 1), "ASC") || SameText(key.substr(word + 1), "DESC")))
    key = Trim(key.substr(0, word));
  return key;
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
      TClassBuilder<TQVRTable>(TQVRDataSet::StaticClass())
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
    RestartRecords();
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
  TSqliteConnection::TStructureRead read(db);
  ReadFieldDefs(db, FTableName, FieldDefs(), FAdvFieldDefs.get(), this);
  FieldDefs()->SetUpdated(true);
  ReadIndexDefs(db, FTableName, FIndexDefs.get(), this);
  FIndexDefs->SetUpdated(true);
  CreateFields();
  FOrder = ResolveOrder(FIndexName, FIndexFieldNames);
  RestartRecords();
}

void TQVRTable::InternalClose() {
  FOrder = {};
  FReadState.reset();
}

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
    RestartRecords();
  } catch (...) {
    std::swap(FOrder, order);
    throw;
  }
}

TQVRTable::TOrder TQVRTable::ResolveOrder(const std::string& IndexName, const std::string& IndexFieldNames) const {
  auto* self = const_cast<TQVRTable*>(this);
  std::optional<TCurrentOrder> current = CurrentOrder(IndexName, IndexFieldNames, FIndexDefs.get());
  if (!current) DatabaseError("Index '" + IndexName + "' not found", self);
  TOrder order;
  const TIndexDef* def = current->Index;
  if (current->Expression) {
    // One key, the expression: SQLite orders by the key list and compares the first key.
    order.Expression = def->Expression();
    order.ExpressionKey = FirstExpressionKey(order.Expression);
    return order;
  }
  std::string descFields = def ? def->DescFields() : std::string();
  bool allDescending = def && def->Options().Contains(ixDescending) && descFields.empty();
  // The descending key columns, as the index spells them.
  std::vector<TField*> descending;
  for (const std::string& name : SplitFieldList(descFields))
    if (TField* field = FindField(name)) descending.push_back(field);
  for (const std::string& name : current->Keys) {
    TField* field = FindListedField(this, name);
    if (!field) DatabaseError("Field '" + name + "' not found", self);
    order.Fields.push_back(field);
    order.Descending.push_back(allDescending ||
                               std::find(descending.begin(), descending.end(), field) != descending.end());
  }
  return order;
}

// Reads the table's rows in the current order, the first time it is asked for a record; a
// detail's restriction takes the master's values as they are at that moment (the master moving
// gives the detail a new reader). Rows come a page at a time and the query is finished after
// each page, so no read lock stays on the file between requests and another program may write
// meanwhile. Pages grow as reading goes on, so that reading a whole table skips over as many
// rows as it reads. A page is taken only when the file is still as it was at the first one.
class TQVRTable::TRowReader : public TRecordReader {
 public:
  explicit TRowReader(TQVRTable& Table) : FTable(Table) {}

  bool Read(std::vector<TRecordValue>& Values) override {
    if (FTaken == FPage.size()) {
      if (FDone) return false;
      ReadPage();
      if (FPage.empty()) return false;
    }
    const size_t width = static_cast<size_t>(FTable.Fields()->Count());
    for (size_t i = 0; i < width; ++i) Values.push_back(std::move(FPage[FTaken + i]));
    FTaken += width;
    return true;
  }

 private:
  static constexpr int64_t kFirstPage = 64;

  void ReadPage() {
    FPage.clear();
    FTaken = 0;
    if (FOffset == 0) {
      if (!FTable.MasterValues(FMasterValues)) {
        FDone = true;
        return;
      }
      // The first page sets the state the rest must come from; a write while it was read
      // makes it read again.
      for (int attempt = 0;; ++attempt) {
        TReadState before = FTable.CurrentReadState();
        ReadRows();
        if (FTable.CurrentReadState() == before) {
          FTable.FReadState = before;
          break;
        }
        if (attempt == 3) Changed();
        FPage.clear();
      }
    } else {
      if (FTable.RecordsOutdated()) Changed();
      ReadRows();
      if (FTable.RecordsOutdated()) {
        FPage.clear();
        Changed();
      }
    }
    const size_t width = static_cast<size_t>(FTable.Fields()->Count());
    const auto rows = static_cast<int64_t>(FPage.size() / width);
    FDone = rows < FPageSize;
    FOffset += rows;
    FPageSize *= 2;
  }

  void ReadRows() {
    TStatementRun run(FTable.RowStatement(FMasterValues.size()));
    int index = 1;
    for (const std::optional<std::string>& value : FMasterValues)
      value ? run->Bind(index++, *value) : run->BindNull(index++);
    run->Bind(index++, std::to_string(FPageSize));
    run->Bind(index, std::to_string(FOffset));
    while (run->Step())
      for (int i = 0, n = run->ColumnCount(); i < n; ++i)
        FPage.push_back(run->IsNull(i) ? std::nullopt : TRecordValue(std::string(run->ColumnText(i))));
  }

  [[noreturn]] void Changed() {
    DatabaseError("The file changed on disk while the records of table '" + FTable.TableName() +
                      "' were read: refresh the table to read them again",
                  &FTable);
  }

  TQVRTable& FTable;
  std::vector<std::optional<std::string>> FMasterValues;
  std::vector<TRecordValue> FPage;  // the page read last, FTaken values of it handed out
  size_t FTaken = 0;
  int64_t FOffset = 0;  // rows read before this page
  int64_t FPageSize = kFirstPage;
  bool FDone = false;
};

TQVRTable::TReadState TQVRTable::CurrentReadState() const {
  TSqliteConnection& connection = Connection();
  return {connection.Serial(), connection.DataVersion()};
}

bool TQVRTable::RecordsOutdated() const {
  if (!Active() || !FReadState) return false;
  try {
    return !(CurrentReadState() == *FReadState);
  } catch (const Exception&) {
    return true;  // the file cannot be read any more: what was read is no longer what it holds
  }
}

void TQVRTable::Refresh() {
  CheckActive();
  RestartRecords();
}

void TQVRTable::RestartRecords() {
  // A detail's master fields are checked now, though no record is read before it is asked for.
  if (TDataSet* master = ActiveMaster()) {
    std::vector<std::string> masterNames = SplitFieldList(FMasterFields);
    if (masterNames.size() > FOrder.KeyCount())
      DatabaseError("Master fields '" + FMasterFields + "' do not match the index fields", this);
    for (const std::string& name : masterNames)
      if (!FindListedField(master, name)) DatabaseError("Field '" + name + "' not found", master);
  }
  FReadState.reset();
  SetRecordReader(Fields()->Count(), std::make_unique<TRowReader>(*this));
}

TDataSet* TQVRTable::ActiveMaster() const {
  TDataSet* master = FMasterSource ? FMasterSource->DataSet() : nullptr;
  return master && master->Active() && !FMasterFields.empty() ? master : nullptr;
}

bool TQVRTable::MasterValues(std::vector<std::optional<std::string>>& Values) const {
  TDataSet* master = ActiveMaster();
  if (!master) return true;
  if (master->IsEmpty()) return false;
  for (const std::string& name : SplitFieldList(FMasterFields)) {
    TField* field = FindListedField(master, name);
    if (!field) DatabaseError("Field '" + name + "' not found", master);
    Values.push_back(field->IsNull() ? std::nullopt : std::optional<std::string>(field->AsString()));
  }
  return true;
}

TSqliteStatement& TQVRTable::RowStatement(size_t MasterCount) {
  TSqliteConnection& connection = Connection();
  const int fieldCount = Fields()->Count();
  std::string sql = "SELECT ";
  for (int i = 0; i < fieldCount; ++i) {
    if (i > 0) sql += ", ";
    sql += QuoteIdentifier(Fields()->Fields(i)->FieldName());
  }
  sql += " FROM " + QuoteIdentifier(FTableName);
  // A detail shows the records whose first order fields hold the master's current values.
  for (size_t i = 0; i < MasterCount; ++i) {
    sql += i == 0 ? " WHERE " : " AND ";
    sql +=
        FOrder.Expression.empty() ? QuoteIdentifier(FOrder.Fields[i]->FieldName()) : "(" + FOrder.ExpressionKey + ")";
    sql += " IS ?" + std::to_string(i + 1);
  }
  if (!FOrder.Expression.empty()) {
    sql += " ORDER BY " + FOrder.Expression;
  } else if (!FOrder.Fields.empty()) {
    // By the numbers of the result columns: SQLite matches an ORDER BY term that names a column
    // against every result column, which grows with the square of the width of the order.
    sql += " ORDER BY ";
    for (size_t i = 0; i < FOrder.Fields.size(); ++i) {
      if (i > 0) sql += ", ";
      sql += std::to_string(FOrder.Fields[i]->Index() + 1);
      if (FOrder.Descending[i]) sql += " DESC";
    }
  }
  sql += " LIMIT ?" + std::to_string(MasterCount + 1) + " OFFSET ?" + std::to_string(MasterCount + 2);
  // The same query on the same connection is compiled once.
  if (!FRowStatement || FRowStatementSql != sql || FRowStatementConnection != connection.Serial()) {
    FRowStatement.reset();
    FRowStatement = std::make_unique<TSqliteStatement>(connection.PrepareOnce(sql));
    FRowStatementSql = std::move(sql);
    FRowStatementConnection = connection.Serial();
  }
  return *FRowStatement;
}

void TQVRTable::MasterChanged() {
  if (Active()) RestartRecords();
}
