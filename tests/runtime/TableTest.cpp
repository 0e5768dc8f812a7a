// The table on an SQLite file: its field and index definitions, the order it reads in, and the
// IndexName/IndexFieldNames/MasterFields settings the designer edits.
#include <gtest/gtest.h>

#include "host/dataclx/Db.h"
#include "host/rtl/Classes.h"
#include "host/runtime/Qvrmain.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"
#include "tests/runtime/TempDatabase.h"

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE Customers(CustNo INTEGER PRIMARY KEY, Company VARCHAR(30) NOT NULL COLLATE NOCASE,
                       City TEXT DEFAULT 'Oslo');
CREATE TABLE Orders(OrderNo INTEGER NOT NULL, CustNo INTEGER NOT NULL, Clerk VARCHAR(20), Amount REAL, Note,
                    PRIMARY KEY (OrderNo, CustNo), UNIQUE (Clerk, Amount));
CREATE VIEW BigOrders AS SELECT * FROM Orders WHERE Amount > 100;
CREATE INDEX ByCust ON Orders(custno);
CREATE INDEX ByCustClerk ON Orders(CustNo, Clerk);
CREATE INDEX ByCustAmountDesc ON Orders(CustNo, Amount DESC);
CREATE UNIQUE INDEX ByLowerClerk ON Orders( lower(Clerk) );
CREATE INDEX Mixed ON Orders(CustNo, abs(Amount));
CREATE TABLE Log(Id INTEGER PRIMARY KEY AUTOINCREMENT, Text TEXT);
CREATE INDEX LogText ON Log(Text);
CREATE INDEX Late ON Orders(Note);
CREATE TABLE NoKey(A, B);
CREATE TABLE Rates(Currency TEXT, Day INT, Rate REAL, PRIMARY KEY(Currency DESC, Day)) WITHOUT ROWID;
CREATE TABLE Codes(Code TEXT PRIMARY KEY DESC, Label UNIQUE);
INSERT INTO Rates VALUES ('EUR', 2, 1.1), ('USD', 1, 1.0), ('EUR', 1, 1.2);
INSERT INTO Customers VALUES (1, 'Acme', 'Oslo'), (2, 'Bolt', 'Bergen'), (3, 'Cog', NULL);
INSERT INTO Orders VALUES (12, 1, 'cid', 20, NULL), (10, 1, 'ann', 50, 'x'), (11, 2, 'bob', 150, NULL),
                          (13, 3, NULL, 5, NULL);
)";

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = folder.Database("demo.tvd", kSchema);
    database.SetName("Database1");
    database.SetDatabaseName("TableTestDb");
    database.SetDatabaseFileName(file);
    orders.SetName("Orders");
    orders.SetDatabaseName("TableTestDb");
    orders.SetTableName("Orders");
  }

  std::vector<std::string> FieldNames(TQVRTable& table) {
    TStringList list;
    table.GetFieldNames(&list);
    return list.ToVector();
  }

  std::vector<std::string> IndexFieldNames(TQVRTable& table) {
    std::vector<std::string> names;
    for (int i = 0; i < table.GetIndexFieldCount(); ++i) names.push_back(table.GetIndexField(i)->FieldName());
    return names;
  }

  std::vector<std::string> Column(TQVRTable& table, const char* Field) {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.FieldByName(Field)->AsString());
    return values;
  }

  TTempFolder folder;
  std::string file;
  TQVRDatabase database{nullptr};
  TQVRTable orders{nullptr};
};

// Everything a table's definitions say, as one text to compare.
std::string Describe(TQVRTable& Table) {
  std::string text;
  Table.FieldDefs()->Update();
  Table.IndexDefs()->Update();
  for (int i = 0; i < Table.FieldDefs()->Count(); ++i) {
    const TFieldDef* def = Table.FieldDefs()->Items(i);
    const TQVRAdvFieldDef* more = Table.AdvFieldDefs()->Items(i);
    text += Format("field %s %d %d %d %s [%s] %s %d %d %d\n",
                   {def->Name(), static_cast<int>(def->DataType()), def->Size(), def->Required() ? 1 : 0,
                    more->DeclaredType(), more->DefaultExpression(), more->Collation(), more->PrimaryKeyIndex(),
                    more->AutoIncrement() ? 1 : 0, more->Generated() ? 1 : 0});
  }
  for (int i = 0; i < Table.IndexDefs()->Count(); ++i) {
    const TIndexDef* def = Table.IndexDefs()->Items(i);
    text += "index " + def->Name() + " " + def->Fields() + " " + def->DescFields() + " [" + def->Expression() + "] " +
            std::to_string(def->Options().Contains(ixPrimary)) + std::to_string(def->Options().Contains(ixUnique)) +
            std::to_string(def->Options().Contains(ixDescending)) + "\n";
  }
  return text;
}

TEST_F(TableTest, IndexDefinitionsComeInOrderWithNamesOptionsAndFields) {
  orders.IndexDefs()->Update();  // the table stays closed
  EXPECT_FALSE(orders.Active());
  EXPECT_TRUE(orders.IndexDefs()->Updated());
  TIndexDefs& defs = *orders.IndexDefs();
  TStringList names;
  defs.GetItemNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"PRIMARY", "sqlite_autoindex_Orders_2", "ByCust", "ByCustClerk",
                                                        "ByCustAmountDesc", "ByLowerClerk", "Mixed", "Late"}));

  EXPECT_EQ(defs.Items(0)->Fields(), "OrderNo;CustNo");
  EXPECT_EQ(defs.Items(0)->Options(), (TIndexOptions{ixPrimary, ixUnique}));
  EXPECT_EQ(defs.Items(1)->Fields(), "Clerk;Amount");
  EXPECT_EQ(defs.Items(1)->Options(), TIndexOptions{ixUnique});
  // The table's spelling, not the CREATE INDEX text's.
  EXPECT_EQ(defs.Items(2)->Fields(), "CustNo");
  EXPECT_TRUE(defs.Items(2)->Options().Empty());
  EXPECT_EQ(defs.Items(3)->Fields(), "CustNo;Clerk");
  EXPECT_EQ(defs.Items(4)->Fields(), "CustNo;Amount");
  EXPECT_EQ(defs.Items(4)->Options(), TIndexOptions{ixDescending});
  EXPECT_EQ(defs.Items(4)->DescFields(), "Amount");

  EXPECT_EQ(defs.Items(5)->Options(), (TIndexOptions{ixUnique, ixExpression}));
  EXPECT_EQ(defs.Items(5)->Fields(), "");
  EXPECT_EQ(defs.Items(5)->Expression(), " lower(Clerk) ");
  // One expression among plain columns makes the whole index an expression index.
  EXPECT_EQ(defs.Items(6)->Options(), TIndexOptions{ixExpression});
  EXPECT_EQ(defs.Items(6)->Fields(), "");
  EXPECT_EQ(defs.Items(6)->Expression(), "CustNo, abs(Amount)");
  EXPECT_EQ(defs.Items(7)->Fields(), "Note");
  for (int i = 1; i < defs.Count(); ++i) EXPECT_EQ(defs.Items(i)->Expression().empty(), i != 5 && i != 6);
}

TEST_F(TableTest, RowidKeysAndTablesWithoutKeys) {
  TQVRTable log(nullptr), nokey(nullptr);
  log.SetDatabaseName("tabletestdb");  // names compare without regard to case
  log.SetTableName("log");
  log.IndexDefs()->Update();
  ASSERT_EQ(log.IndexDefs()->Count(), 2);
  EXPECT_EQ(log.IndexDefs()->Items(0)->Name(), "PRIMARY");
  EXPECT_EQ(log.IndexDefs()->Items(0)->Fields(), "Id");
  EXPECT_EQ(log.IndexDefs()->Items(1)->Name(), "LogText");

  nokey.SetDatabaseName("TableTestDb");
  nokey.SetTableName("NoKey");
  nokey.IndexDefs()->Add("Stale", "A", {});
  nokey.IndexDefs()->Update();
  EXPECT_EQ(nokey.IndexDefs()->Count(), 0);
}

TEST_F(TableTest, DescendingPrimaryKeys) {
  for (auto [name, key] : {std::pair{"Rates", "Currency"}, std::pair{"Codes", "Code"}}) {
    TQVRTable table(nullptr);
    table.SetDatabaseName("TableTestDb");
    table.SetTableName(name);
    table.IndexDefs()->Update();
    ASSERT_GE(table.IndexDefs()->Count(), 1) << name;
    TIndexDef* primary = table.IndexDefs()->Items(0);
    EXPECT_EQ(primary->Name(), "PRIMARY");
    EXPECT_EQ(primary->Options(), (TIndexOptions{ixPrimary, ixUnique, ixDescending})) << name;
    EXPECT_EQ(primary->DescFields(), key) << name;
  }
  TQVRTable rates(nullptr);
  rates.SetDatabaseName("TableTestDb");
  rates.SetTableName("Rates");
  rates.Open();
  EXPECT_EQ(rates.IndexDefs()->Count(), 1);
  EXPECT_EQ(Column(rates, "Currency"), (std::vector<std::string>{"USD", "EUR", "EUR"}));
  EXPECT_EQ(Column(rates, "Day"), (std::vector<std::string>{"1", "1", "2"}));
}

TEST_F(TableTest, UpdateReadsIndexesAfresh) {
  orders.IndexDefs()->Update();
  const int before = orders.IndexDefs()->Count();
  folder.Database("demo.tvd", "CREATE INDEX Newest ON Orders(OrderNo)");
  orders.IndexDefs()->SetUpdated(false);
  orders.IndexDefs()->Update();
  ASSERT_EQ(orders.IndexDefs()->Count(), before + 1);
  EXPECT_EQ(orders.IndexDefs()->Items(before)->Name(), "Newest");
  // Made again under the same name over the same field, only unique and descending now: the
  // definitions held are not mistaken for the ones read.
  folder.Database("demo.tvd", "DROP INDEX Newest; CREATE UNIQUE INDEX Newest ON Orders(OrderNo DESC)");
  orders.IndexDefs()->Update();
  ASSERT_EQ(orders.IndexDefs()->Count(), before + 1);
  const TIndexDef* remade = orders.IndexDefs()->Items(before);
  EXPECT_EQ(remade->Fields(), "OrderNo");
  EXPECT_TRUE(remade->Options().Contains(ixUnique));
  EXPECT_EQ(remade->DescFields(), "OrderNo");
}

TEST_F(TableTest, UpdateReadsFieldsAfresh) {
  // Definitions changed in the data set are put right by an update, also while it is open.
  orders.Open();
  orders.FieldDefs()->Items(2)->SetSize(99);
  orders.FieldDefs()->Update();
  EXPECT_EQ(orders.FieldDefs()->Items(2)->Size(), 20);
  orders.AdvFieldDefs()->Items(3)->SetCollation("NOCASE");
  orders.FieldDefs()->Update();
  EXPECT_EQ(orders.AdvFieldDefs()->Items(3)->Collation(), "BINARY");
  orders.Close();
  // A column another program adds is read at the next update.
  folder.Database("demo.tvd", "ALTER TABLE Orders ADD COLUMN Shipped DATE DEFAULT '2024-01-01'");
  orders.FieldDefs()->Update();
  ASSERT_EQ(orders.FieldDefs()->Count(), 6);
  EXPECT_EQ(orders.FieldDefs()->Items(5)->Name(), "Shipped");
  EXPECT_EQ(orders.FieldDefs()->Items(5)->DataType(), ftDate);
  EXPECT_EQ(orders.AdvFieldDefs()->Items(5)->DefaultExpression(), "'2024-01-01'");
}

TEST_F(TableTest, FieldDefinitionsFollowTheColumns) {
  TQVRTable customers(nullptr);
  customers.SetDatabaseName("TableTestDb");
  customers.SetTableName("Customers");
  customers.FieldDefs()->Update();
  TFieldDefs& defs = *customers.FieldDefs();
  ASSERT_EQ(defs.Count(), 3);
  EXPECT_EQ(defs.Items(0)->Name(), "CustNo");
  EXPECT_EQ(defs.Items(0)->DataType(), ftInteger);
  EXPECT_FALSE(defs.Items(0)->Required());
  EXPECT_EQ(defs.Items(1)->DataType(), ftString);
  EXPECT_EQ(defs.Items(1)->Size(), 30);
  EXPECT_TRUE(defs.Items(1)->Required());
  EXPECT_EQ(defs.Items(2)->DataType(), ftMemo);
  EXPECT_EQ(defs.Items(2)->FieldNo(), 3);

  TQVRAdvFieldDefs& extended = *customers.AdvFieldDefs();
  ASSERT_EQ(extended.Count(), 3);
  EXPECT_EQ(extended.Items(0)->PrimaryKeyIndex(), 1);
  EXPECT_EQ(extended.Items(1)->Collation(), "NOCASE");
  EXPECT_EQ(extended.Items(1)->DeclaredType(), "VARCHAR(30)");
  EXPECT_EQ(extended.Items(2)->Collation(), "BINARY");
  EXPECT_EQ(extended.Items(2)->DefaultExpression(), "'Oslo'");
  EXPECT_EQ(extended.Find("company"), extended.Items(1));

  TQVRTable log(nullptr);
  log.SetDatabaseName("TableTestDb");
  log.SetTableName("Log");
  log.FieldDefs()->Update();
  EXPECT_EQ(log.FieldDefs()->Items(0)->DataType(), ftAutoInc);
  EXPECT_TRUE(log.AdvFieldDefs()->Items(0)->AutoIncrement());

  EXPECT_EQ(FieldNames(orders), (std::vector<std::string>{"OrderNo", "CustNo", "Clerk", "Amount", "Note"}));
  EXPECT_EQ(orders.FieldDefs()->Items(4)->DataType(), ftVariant);
}

TEST_F(TableTest, DefinitionsKeptForTheFileAnswerAsAFreshReadAndFollowAChangedSchema) {
  // Another database component on the same file has a connection of its own, which reads
  // everything afresh; a third reads every table of the file at once before each look.
  TQVRDatabase fresh(nullptr), whole(nullptr);
  fresh.SetDatabaseName("TableTestFresh");
  fresh.SetDatabaseFileName(file);
  whole.SetDatabaseName("TableTestWhole");
  whole.SetDatabaseFileName(file);
  auto compare = [&](const std::string& Name) {
    TQVRTable kept(nullptr), again(nullptr), other(nullptr), allAtOnce(nullptr);
    for (TQVRTable* table : {&kept, &again}) {
      table->SetDatabaseName("TableTestDb");
      table->SetTableName(Name);
    }
    other.SetDatabaseName("TableTestFresh");
    other.SetTableName(Name);
    allAtOnce.SetDatabaseName("TableTestWhole");
    allAtOnce.SetTableName(Name);
    ReadWholeSchema(whole.Connection());
    std::string first = Describe(kept);
    EXPECT_EQ(Describe(again), first) << Name;
    EXPECT_EQ(Describe(other), first) << Name;
    EXPECT_EQ(Describe(allAtOnce), first) << Name;
    return first;
  };
  for (const char* name : {"Customers", "Orders", "Log", "NoKey", "Rates", "Codes"}) compare(name);

  // Changed by another program: seen at the next reading, though the connection stays open.
  const std::string before = compare("Orders");
  const int64_t compiled = database.Connection().CompiledCount();
  ExecSql(file,
          "ALTER TABLE Orders ADD COLUMN Extra TEXT COLLATE NOCASE; CREATE INDEX ByExtra ON Orders(Extra);"
          "CREATE TABLE Added(A);");
  orders.FieldDefs()->Update();
  ASSERT_EQ(orders.FieldDefs()->Count(), 6);
  EXPECT_EQ(orders.AdvFieldDefs()->Items(5)->Collation(), "NOCASE");
  orders.IndexDefs()->Update();
  EXPECT_GE(orders.IndexDefs()->IndexOf("ByExtra"), 0);
  EXPECT_NE(compare("Orders"), before);
  TStringList names;
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(),
            (std::vector<std::string>{"Customers", "Orders", "Log", "NoKey", "Rates", "Codes", "Added"}));
  ExecSql(file, "DROP INDEX ByExtra;");
  orders.IndexDefs()->Update();
  EXPECT_LT(orders.IndexDefs()->IndexOf("ByExtra"), 0);
  // Reading anew reruns the queries the connection compiled before.
  EXPECT_EQ(database.Connection().CompiledCount(), compiled);

  // A foreign key that another program adds to a table that declared none is seen as well, one
  // table at a time and all at once.
  EXPECT_TRUE(ReadForeignKeys(database.Connection(), "Orders", nullptr).empty());
  ExecSql(file, "ALTER TABLE Orders ADD COLUMN Buyer INTEGER references Customers(CustNo);");
  for (TQVRDatabase* db : {&database, &whole}) {
    if (db == &whole) ReadWholeSchema(whole.Connection());
    std::vector<TForeignKey> keys = ReadForeignKeys(db->Connection(), "Orders", nullptr);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].Columns, std::vector<std::string>{"Buyer"});
    EXPECT_EQ(keys[0].ParentTable, "Customers");
    EXPECT_EQ(keys[0].ParentColumns, std::vector<std::string>{"CustNo"});
  }
}

TEST_F(TableTest, NamesWithBlanksAtTheirEdgesAreMatchedExactlyFirst) {
  database.SetDatabaseFileName(folder.Database("blanks.tvd", R"(
    CREATE TABLE Sales(A INTEGER, " B" TEXT, "C " TEXT, CustNo INTEGER, SaleDate TEXT);
    CREATE INDEX Edges ON Sales(A, " B" DESC, "C ");
    INSERT INTO Sales VALUES (1, 'x', 'p', 7, '2020'), (1, 'y', 'q', 5, '2021'), (2, 'z', 'r', 5, '2019');
  )"));
  TQVRTable sales(nullptr);
  sales.SetDatabaseName("TableTestDb");
  sales.SetTableName("Sales");
  sales.SetIndexName("Edges");
  sales.Open();
  EXPECT_EQ(IndexFieldNames(sales), (std::vector<std::string>{"A", " B", "C "}));
  EXPECT_EQ(Column(sales, " B"), (std::vector<std::string>{"y", "x", "z"}));
  sales.SetIndexFieldNames("CustNo; SaleDate");  // typed by hand: the blank is no part of the name
  EXPECT_EQ(IndexFieldNames(sales), (std::vector<std::string>{"CustNo", "SaleDate"}));
  EXPECT_EQ(Column(sales, "SaleDate"), (std::vector<std::string>{"2019", "2021", "2020"}));
  EXPECT_THROW(sales.SetIndexFieldNames("A;B"), EDatabaseError);
}

TEST_F(TableTest, IndexNameAndIndexFieldNamesExcludeEachOther) {
  orders.SetIndexName("ByCust");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");
  orders.SetIndexFieldNames("Clerk;Amount");
  EXPECT_EQ(orders.GetIndexName(), "");
  EXPECT_EQ(orders.GetIndexFieldNames(), "Clerk;Amount");
  orders.SetIndexName("ByCust");
  EXPECT_EQ(orders.GetIndexName(), "ByCust");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");
  // One current order: setting either, even to empty, empties the other.
  orders.SetIndexFieldNames("");
  EXPECT_EQ(orders.GetIndexName(), "");
  orders.SetIndexFieldNames("Clerk");
  orders.SetIndexName("");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");

  orders.Open();
  orders.SetIndexName("ByCustClerk");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");
  orders.SetIndexFieldNames("Amount");
  EXPECT_EQ(orders.GetIndexName(), "");
  // An empty IndexName leaves the open table on its primary key, not on the fields before.
  orders.SetIndexName("");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");
  EXPECT_EQ(IndexFieldNames(orders), (std::vector<std::string>{"OrderNo", "CustNo"}));
}

TEST_F(TableTest, IndexFieldsFollowTheCurrentOrder) {
  EXPECT_THROW(orders.GetIndexFieldCount(), EDatabaseError);  // closed
  orders.Open();
  // Neither setting: the primary key.
  EXPECT_EQ(IndexFieldNames(orders), (std::vector<std::string>{"OrderNo", "CustNo"}));
  orders.SetIndexName("bycustclerk");
  EXPECT_EQ(IndexFieldNames(orders), (std::vector<std::string>{"CustNo", "Clerk"}));
  orders.SetIndexFieldNames("amount;CLERK");
  // The fields themselves, spelled as the table spells them.
  EXPECT_EQ(IndexFieldNames(orders), (std::vector<std::string>{"Amount", "Clerk"}));
  EXPECT_EQ(orders.GetIndexField(0), orders.FieldByName("Amount"));
  EXPECT_THROW(orders.GetIndexField(2), EDatabaseError);
  orders.SetIndexName("ByLowerClerk");
  EXPECT_EQ(orders.GetIndexFieldCount(), 0);
  orders.Close();

  TQVRTable nokey(nullptr);
  nokey.SetDatabaseName("TableTestDb");
  nokey.SetTableName("NoKey");
  nokey.Open();
  EXPECT_EQ(nokey.GetIndexFieldCount(), 0);
}

TEST_F(TableTest, UnknownIndexOrFieldRaisesAndLeavesTheSetting) {
  orders.Open();
  orders.SetIndexName("ByCust");
  try {
    orders.SetIndexName("NoSuchIndex");
    FAIL() << "an unknown index was taken";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Orders: Index 'NoSuchIndex' not found");
  }
  EXPECT_EQ(orders.GetIndexName(), "ByCust");
  EXPECT_THROW(orders.SetIndexFieldNames("CustNo;Nope"), EDatabaseError);
  EXPECT_EQ(orders.GetIndexName(), "ByCust");
  EXPECT_EQ(IndexFieldNames(orders), std::vector<std::string>{"CustNo"});
  orders.Close();

  // Set while closed: taken as it is and refused when the table opens.
  orders.SetIndexFieldNames("Nope");
  EXPECT_EQ(orders.GetIndexFieldNames(), "Nope");
  EXPECT_THROW(orders.Open(), EDatabaseError);
  EXPECT_FALSE(orders.Active());
  EXPECT_EQ(orders.Fields()->Count(), 0);
  orders.SetIndexName("Gone");
  EXPECT_THROW(orders.Open(), EDatabaseError);
  orders.SetIndexName("ByCust");
  orders.Open();
  EXPECT_TRUE(orders.Active());
}

TEST_F(TableTest, MasterFieldsCanBeSetWithoutAMaster) {
  orders.SetMasterFields("CustNo;Clerk");
  EXPECT_EQ(orders.GetMasterFields(), "CustNo;Clerk");
  EXPECT_EQ(orders.DataSource(), nullptr);
  orders.Open();
  EXPECT_EQ(orders.RecordCount(), 4);
  orders.SetMasterFields("");
  EXPECT_EQ(orders.GetMasterFields(), "");
}

TEST_F(TableTest, RecordsComeInTheCurrentOrder) {
  orders.Open();
  EXPECT_EQ(Column(orders, "OrderNo"), (std::vector<std::string>{"10", "11", "12", "13"}));
  orders.SetIndexName("ByCustAmountDesc");
  EXPECT_EQ(Column(orders, "OrderNo"), (std::vector<std::string>{"10", "12", "11", "13"}));
  orders.SetIndexName("ByLowerClerk");
  EXPECT_EQ(Column(orders, "OrderNo"), (std::vector<std::string>{"13", "10", "11", "12"}));
  orders.SetIndexFieldNames("Amount");
  EXPECT_EQ(Column(orders, "Amount"), (std::vector<std::string>{"5.0", "20.0", "50.0", "150.0"}));
  orders.First();
  EXPECT_EQ(orders.FieldByName("CustNo")->AsInteger(), 3);
  EXPECT_TRUE(orders.FieldByName("Clerk")->IsNull());
}

TEST_F(TableTest, DetailShowsTheRecordsOfTheMastersCurrentRecord) {
  TQVRTable customers(nullptr);
  customers.SetDatabaseName("TableTestDb");
  customers.SetTableName("Customers");
  TDataSource source(nullptr);
  source.SetDataSet(&customers);
  orders.SetMasterSource(&source);
  EXPECT_EQ(orders.DataSource(), &source);
  orders.SetIndexName("ByCustClerk");
  orders.SetMasterFields("CustNo");

  orders.Open();
  EXPECT_EQ(orders.RecordCount(), 4);  // the master is closed: no restriction
  customers.Open();
  EXPECT_EQ(Column(orders, "OrderNo"), (std::vector<std::string>{"10", "12"}));
  customers.Next();
  EXPECT_EQ(Column(orders, "OrderNo"), std::vector<std::string>{"11"});
  customers.Next();
  EXPECT_EQ(Column(orders, "OrderNo"), std::vector<std::string>{"13"});
  // More master fields than the order has fields cannot be matched.
  EXPECT_THROW(orders.SetMasterFields("CustNo;Company;City"), EDatabaseError);
  EXPECT_EQ(orders.GetMasterFields(), "CustNo");
  customers.Close();
  EXPECT_EQ(orders.RecordCount(), 4);

  // An index on an expression is one key to a master: its first key, as SQLite computes it.
  customers.Open();
  orders.SetIndexName("Mixed");
  EXPECT_EQ(Column(orders, "OrderNo"), (std::vector<std::string>{"12", "10"}));
  EXPECT_THROW(orders.SetMasterFields("CustNo;Company"), EDatabaseError);
  customers.Close();

  // A data source may not show its own detail.
  TDataSource back(nullptr);
  back.SetDataSet(&orders);
  EXPECT_THROW(customers.SetMasterSource(&back), EDatabaseError);
  EXPECT_THROW(orders.SetMasterSource(&back), EDatabaseError);
}

TEST_F(TableTest, MasterSourceIsClearedWhenTheSourceGoes) {
  auto source = std::make_unique<TDataSource>(nullptr);
  orders.SetMasterSource(source.get());
  source.reset();
  EXPECT_EQ(orders.MasterSource(), nullptr);
  EXPECT_EQ(orders.DataSource(), nullptr);
}

TEST_F(TableTest, PublishedPropertiesAsTheDesignerReadsThem) {
  const TPropInfo* indexDefs = GetPropInfo(&orders, "IndexDefs");
  ASSERT_NE(indexDefs, nullptr);
  EXPECT_EQ(indexDefs->Kind, tkClass);
  EXPECT_FALSE(indexDefs->Stored);
  EXPECT_EQ(GetObjectProp(&orders, indexDefs), orders.IndexDefs());
  const TPropInfo* fieldDefs = GetPropInfo(&orders, "FieldDefs");
  ASSERT_NE(fieldDefs, nullptr);
  EXPECT_FALSE(fieldDefs->Stored);
  EXPECT_TRUE(GetPropInfo(&orders, "Active")->Stored);
  for (const char* name : {"DatabaseName", "TableName", "IndexName", "IndexFieldNames", "MasterFields"})
    EXPECT_EQ(GetPropInfo(&orders, name)->Kind, tkLString) << name;
  SetStrProp(&orders, GetPropInfo(&orders, "IndexName"), "ByCust");
  EXPECT_EQ(orders.GetIndexName(), "ByCust");

  RegisterRuntimeClasses();
  EXPECT_EQ(GetClass("TQVRTable"), TQVRTable::StaticClass());
  EXPECT_EQ(GetClass("TDataSource"), TDataSource::StaticClass());
  EXPECT_TRUE(GetClass("TQVRTable")->InheritsFrom(TQVRDataSet::StaticClass()));
}

TEST_F(TableTest, AWorkCopyOpensTheSameTable) {
  orders.SetReadOnly(true);
  orders.IndexDefs()->Update();
  orders.FieldDefs()->Update();
  orders.SetIndexFieldNames("Clerk");

  auto work = std::make_unique<TQVRTable>(nullptr);
  work->SetDatabaseName(orders.DatabaseName());
  work->SetInMemory(orders.InMemory());
  work->SetTemporary(orders.Temporary());
  work->SetTableName(orders.TableName());
  work->SetReadOnly(orders.ReadOnly());
  work->FieldDefs()->Assign(orders.FieldDefs());
  work->IndexDefs()->Assign(orders.IndexDefs());
  work->AdvFieldDefs()->Assign(orders.AdvFieldDefs());
  EXPECT_EQ(work->IndexDefs()->Count(), orders.IndexDefs()->Count());
  EXPECT_EQ(work->IndexDefs()->Items(4)->Options(), TIndexOptions{ixDescending});
  work->Open();
  work->SetIndexFieldNames(orders.GetIndexFieldNames());
  work->SetMasterFields("CustNo");
  EXPECT_EQ(IndexFieldNames(*work), std::vector<std::string>{"Clerk"});
  orders.SetMasterFields(work->GetMasterFields());
  orders.SetIndexName("ByCust");
  EXPECT_EQ(orders.GetMasterFields(), "CustNo");
  EXPECT_EQ(orders.GetIndexFieldNames(), "");
}

TEST_F(TableTest, ClosedTablesRefuseNothingButOpenOnesRefuseRenaming) {
  orders.Open();
  EXPECT_THROW(orders.SetTableName("Customers"), EDatabaseError);
  EXPECT_THROW(orders.SetDatabaseName("Other"), EDatabaseError);
  EXPECT_EQ(orders.TableName(), "Orders");
  orders.Close();
  orders.SetTableName("Customers");
  EXPECT_FALSE(orders.IndexDefs()->Updated());
  orders.Open();
  EXPECT_EQ(orders.Fields()->Count(), 3);
}

// A detail of a million rows: opening it, linking it to its master and changing its order read
// none of them; a record is read when one is asked for, and asking again in the same order
// compiles no new query.
TEST(TableRows, AMillionRowDetailIsReadOnlyAsFarAsItIsAskedFor) {
  TTempFolder folder;
  const std::string file = folder.Database("big.tvd", R"(
    CREATE TABLE Groups(Grp INTEGER PRIMARY KEY, Label TEXT);
    INSERT INTO Groups VALUES (3, 'three'), (5, 'five');
    CREATE TABLE Big(Id INTEGER PRIMARY KEY, Grp INTEGER, Name TEXT);
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)
      INSERT INTO Big SELECT i, i % 7, 'row ' || i FROM n;
    CREATE INDEX ByGrp ON Big(Grp);
  )");
  TQVRDatabase database(nullptr);
  database.SetDatabaseName("TableRowsDb");
  database.SetDatabaseFileName(file);
  TQVRTable groups(nullptr), big(nullptr);
  for (TQVRTable* table : {&groups, &big}) table->SetDatabaseName("TableRowsDb");
  groups.SetTableName("Groups");
  big.SetTableName("Big");
  TDataSource source(nullptr);
  source.SetDataSet(&groups);

  big.Open();
  big.SetIndexFieldNames("Name");
  big.SetMasterSource(&source);
  big.SetIndexName("ByGrp");
  big.SetMasterFields("Grp");
  groups.Open();
  groups.Next();
  big.Close();
  big.Open();
  EXPECT_EQ(big.RecordsRead(), 0);

  EXPECT_EQ(big.FieldByName("Grp")->AsInteger(), 5);  // the master's second record
  EXPECT_EQ(big.RecordsRead(), 1);
  big.Next();
  EXPECT_EQ(big.RecordsRead(), 2);
  const int64_t compiled = database.Connection().CompiledCount();
  big.Close();
  big.Open();
  groups.First();
  EXPECT_EQ(big.FieldByName("Grp")->AsInteger(), 3);
  EXPECT_EQ(big.RecordsRead(), 3);
  EXPECT_EQ(database.Connection().CompiledCount(), compiled);
}

// Another program writes while a table is read half way, in a database with a rollback journal
// and in one with a write-ahead log that was empty at opening: no read lock is in the writer's
// way, reading on refuses to join rows of the new state to those of the old, and a refresh
// reads the new state whole.
TEST(TableRows, AWriterIsNotLockedOutAndItsChangeIsNeverMixedIn) {
  for (std::string mode : {"DELETE", "WAL"}) {
    SCOPED_TRACE(mode);
    TTempFolder folder;
    const std::string file = folder.Database("rows.tvd", "PRAGMA journal_mode=" + mode + R"(;
      CREATE TABLE T(Id INTEGER PRIMARY KEY, Name TEXT);
      WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500)
        INSERT INTO T SELECT i, 'row ' || i FROM n;
    )");
    TQVRDatabase database(nullptr);
    database.SetDatabaseName("RowsDb");
    database.SetDatabaseFileName(file);
    TQVRTable table(nullptr);
    table.SetDatabaseName("RowsDb");
    table.SetTableName("T");
    table.Open();
    table.MoveBy(9);
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "row 10");
    EXPECT_FALSE(table.RecordsOutdated());

    ASSERT_NO_THROW(ExecSql(file, "UPDATE T SET Name = 'new ' || Id"));
    EXPECT_TRUE(table.RecordsOutdated());
    EXPECT_THROW(table.MoveBy(300), EDatabaseError);
    table.Refresh();
    EXPECT_FALSE(table.RecordsOutdated());
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "new 1");
    EXPECT_EQ(table.RecordCount(), 500);
    table.Last();
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "new 500");
  }
}

}  // namespace
