// The name-list editors on real database files: which names each offers, from which of the
// selected components, and that a table looked into for its indexes is left as it was found.
#include <gtest/gtest.h>

#include <algorithm>

#include "editors/QVREdit.h"
#include "host/dataclx/Db.h"
#include "host/runtime/Qvrmain.h"
#include "tests/designide/FakeDesigner.h"
#include "tests/support/Process.h"

namespace {

// A table whose index definitions can be made unreadable once it is open, and which can show
// a definition without fields besides the file's.
class TProbeTable : public TQVRTable {
  TIRVENDAL_CLASS(TProbeTable)
  explicit TProbeTable(TComponent* Owner) : TQVRTable(Owner) {}
  bool FailIndexUpdate = false;
  bool AddFieldlessIndex = false;
  std::vector<bool> ReadWhileActive;  // one entry per reading of the index definitions

 protected:
  void UpdateIndexDefs() override {
    ReadWhileActive.push_back(Active());
    if (FailIndexUpdate && State() == dsBrowse) throw EDatabaseError("index definitions unreadable");
    TQVRTable::UpdateIndexDefs();
    if (AddFieldlessIndex) IndexDefs()->Add("NoFields", "", {});
  }
};

TClass TProbeTable::StaticClass() {
  static const TClassInfo info = TClassBuilder<TProbeTable>(TQVRTable::StaticClass()).Component().Build();
  return &info;
}

// A table class whose "IndexDefs" is published as text: it offers no index definitions object.
class TTextIndexDefsTable : public TQVRTable {
  TIRVENDAL_CLASS(TTextIndexDefsTable)
  explicit TTextIndexDefsTable(TComponent* Owner) : TQVRTable(Owner) {}
  std::string IndexDefsText() const { return "none"; }
};

TClass TTextIndexDefsTable::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTextIndexDefsTable>(TQVRTable::StaticClass())
                                     .Component()
                                     .String("IndexDefs", &TTextIndexDefsTable::IndexDefsText, nullptr)
                                     .Build();
  return &info;
}

// A value list with an order of its own and a duplicate.
class TFixedListProperty : public TQVRDBStringProperty {
  TIRVENDAL_CLASS(TFixedListProperty)
  void GetValueList(TStrings* List) override {
    List->Add("beta");
    List->Add("alpha");
    List->Add("beta");
  }
};

TClass TFixedListProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFixedListProperty>(TQVRDBStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

// Holds an object that is no persistent.
class TSessionHolder : public TPersistent {
  TIRVENDAL_CLASS(TSessionHolder)
  TQVRSession* Session() const { return Sessions().DefaultSession(); }
};

TClass TSessionHolder::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSessionHolder>(TPersistent::StaticClass())
                                     .Object<TQVRSession>("Session", &TSessionHolder::Session, nullptr)
                                     .Build();
  return &info;
}

using Names = std::vector<std::string>;

class NameLists : public ::testing::Test {
 protected:
  void SetUp() override {
    ExecSql(dir / "sales.tvd", R"sql(
      CREATE TABLE customers (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT, Country TEXT);
      CREATE UNIQUE INDEX ByCompany ON customers (Company);
      CREATE INDEX ByCountryCity ON customers (Country, City);
      CREATE INDEX ByCityDesc ON customers (City DESC);
      CREATE INDEX ByLowerCity ON customers (lower(City));
      CREATE INDEX ByCompanyToo ON customers (Company);
      CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER);
      CREATE VIEW bigorders AS SELECT * FROM orders;
    )sql");
    ExecSql(dir / "parts.tvd", R"sql(
      CREATE TABLE vendors (VendorNo INTEGER);
      CREATE TABLE parts (PartNo INTEGER, VendorNo INTEGER);
    )sql");
    sales = Database("Sales", "sales.tvd", "");
    parts = Database("Parts", "parts.tvd", "");
    customers = Table<TProbeTable>("Customers", "Sales", "customers");
  }
  void TearDown() override { root.reset(); }

  TQVRDatabase* Database(const std::string& name, const std::string& file, const std::string& session) {
    auto* db = new TQVRDatabase(root.get());
    db->SetSessionName(session);
    db->SetDatabaseName(name);
    db->SetDatabaseFileName((dir / file).string());
    return db;
  }
  template <class T = TQVRTable>
  T* Table(const std::string& name, const std::string& database, const std::string& table) {
    auto* t = new T(root.get());
    t->SetName(name);
    t->SetDatabaseName(database);
    t->SetTableName(table);
    return t;
  }
  std::unique_ptr<TPropertyEditor> Editor(TClass editorClass, std::vector<TPersistent*> selection, const char* prop) {
    return CreatePropertyEditor(editorClass, &designer, selection, GetPropInfo(selection[0]->ClassType(), prop));
  }
  Names Values(TClass editorClass, std::vector<TPersistent*> selection, const char* prop) {
    Names out;
    Editor(editorClass, selection, prop)->GetValues([&](const std::string& s) { out.push_back(s); });
    return out;
  }
  Names IndexNames(TPersistent* table) { return Values(TQVRIndexNameProperty::StaticClass(), {table}, "IndexName"); }
  Names IndexFieldNames(TPersistent* table) {
    return Values(TQVRIndexFieldNamesProperty::StaticClass(), {table}, "IndexFieldNames");
  }

  TTempDir dir;
  std::unique_ptr<TComponent> root = std::make_unique<TComponent>(nullptr);
  TFakeDesigner designer{root.get()};
  TQVRDatabase* sales;
  TQVRDatabase* parts;
  TProbeTable* customers;
};

TEST_F(NameLists, TheBaseOffersASortedListButNoNamesAndKeepsTheTextEditable) {
  auto editor = Editor(TQVRDBStringProperty::StaticClass(), {customers}, "TableName");
  EXPECT_EQ(editor->GetAttributes().Value(), 0x29u);
  int calls = 0;
  editor->GetValues([&](const std::string&) { ++calls; });
  EXPECT_EQ(calls, 0);
  editor->SetValue("orders");
  EXPECT_EQ(customers->TableName(), "orders");
  EXPECT_EQ(designer.ModifiedCount, 1);
}

TEST_F(NameLists, ValuesComeInTheOrderTheListWasFilledDuplicatesIncluded) {
  EXPECT_EQ(Values(TFixedListProperty::StaticClass(), {customers}, "TableName"), (Names{"beta", "alpha", "beta"}));
}

TEST_F(NameLists, SessionNamesAreEverySession) {
  Database("Elsewhere", "parts.tvd", "EditorTests");
  Names expected;
  TStringList sessions;
  Sessions().GetSessionNames(&sessions);
  Names offered = Values(TQVRSessionNameProperty::StaticClass(), {sales}, "SessionName");
  EXPECT_EQ(offered, sessions.ToVector());
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.front(), "Default");
  EXPECT_NE(std::find(offered.begin(), offered.end(), "EditorTests"), offered.end());
}

TEST_F(NameLists, DatabaseNamesAreThoseOfTheFirstSelectedDataSetsSession) {
  Database("Remote", "parts.tvd", "EditorTests");
  TQVRTable* remote = Table("RemoteParts", "Remote", "parts");
  EXPECT_EQ(Values(TQVRDatabaseNameProperty::StaticClass(), {customers, remote}, "DatabaseName"),
            (Names{"Sales", "Parts"}));
  EXPECT_EQ(Values(TQVRDatabaseNameProperty::StaticClass(), {remote, customers}, "DatabaseName"), (Names{"Remote"}));
}

TEST_F(NameLists, TableNamesAreThoseOfTheFirstSelectedTablesDatabase) {
  TQVRTable* vendors = Table("Vendors", "Parts", "vendors");
  EXPECT_EQ(Values(TQVRTableNameProperty::StaticClass(), {customers, vendors}, "TableName"),
            (Names{"customers", "orders"}));
  EXPECT_EQ(Values(TQVRTableNameProperty::StaticClass(), {vendors, customers}, "TableName"),
            (Names{"vendors", "parts"}));
  // No database of that name: nothing to offer, and the name can still be typed.
  TQVRTable* loose = Table("Loose", "", "");
  EXPECT_TRUE(Values(TQVRTableNameProperty::StaticClass(), {loose}, "TableName").empty());
  Editor(TQVRTableNameProperty::StaticClass(), {loose}, "TableName")->SetValue("anything");
  EXPECT_EQ(loose->TableName(), "anything");
}

TEST_F(NameLists, AClosedTableIsOpenedForItsIndexesAndClosedAgain) {
  EXPECT_EQ(IndexNames(customers),
            (Names{"PRIMARY", "ByCompany", "ByCountryCity", "ByCityDesc", "ByLowerCity", "ByCompanyToo"}));
  EXPECT_FALSE(customers->Active());
  // Descending and expression indexes offer no field list; equal field lists come twice.
  EXPECT_EQ(IndexFieldNames(customers), (Names{"CustNo", "Company", "Country;City", "Company"}));
  EXPECT_FALSE(customers->Active());
  EXPECT_TRUE(customers->IndexDefs()->Updated());
  // Each drop-down read the definitions while the table was open, and only then.
  ASSERT_GE(customers->ReadWhileActive.size(), 2u);
  EXPECT_EQ(std::count(customers->ReadWhileActive.begin(), customers->ReadWhileActive.end(), false), 0)
      << "the index definitions were read from a closed table";
}

TEST_F(NameLists, AnOpenTableStaysOpenAndItsIndexesAreReadAfresh) {
  customers->Open();
  customers->IndexDefs()->Add("Stale", "City", {});
  EXPECT_EQ(IndexNames(customers).size(), 6u);
  EXPECT_TRUE(customers->Active());
  customers->IndexDefs()->Add("Stale", "City", {});
  EXPECT_EQ(IndexFieldNames(customers).size(), 4u);
  EXPECT_TRUE(customers->Active());
}

TEST_F(NameLists, AnIndexWithoutFieldsIsNamedButOffersNoFieldList) {
  customers->AddFieldlessIndex = true;
  EXPECT_EQ(IndexNames(customers).back(), "NoFields");
  EXPECT_EQ(IndexFieldNames(customers), (Names{"CustNo", "Company", "Country;City", "Company"}));
}

TEST_F(NameLists, OnlyTheFirstSelectedTablesIndexesAreOffered) {
  TQVRTable* orders = Table("Orders", "Sales", "orders");
  EXPECT_EQ(Values(TQVRIndexNameProperty::StaticClass(), {orders, customers}, "IndexName"), (Names{"PRIMARY"}));
  EXPECT_EQ(Values(TQVRIndexFieldNamesProperty::StaticClass(), {orders, customers}, "IndexFieldNames"),
            (Names{"OrderNo"}));
}

TEST_F(NameLists, AFailedReadingLeavesTheTableAsItWasFound) {
  customers->FailIndexUpdate = true;
  EXPECT_THROW(IndexNames(customers), EDatabaseError);
  EXPECT_FALSE(customers->Active());
  EXPECT_THROW(IndexFieldNames(customers), EDatabaseError);
  EXPECT_FALSE(customers->Active());

  customers->FailIndexUpdate = false;
  customers->Open();
  customers->FailIndexUpdate = true;
  EXPECT_THROW(IndexNames(customers), EDatabaseError);
  EXPECT_TRUE(customers->Active());

  // A table that cannot be opened stays closed.
  TQVRTable* missing = Table("Missing", "Sales", "nosuchtable");
  EXPECT_THROW(IndexNames(missing), EDatabaseError);
  EXPECT_FALSE(missing->Active());
}

TEST_F(NameLists, AStaleStoredOrderStillOffersTheListsThatRepairIt) {
  const Names indexNames{"PRIMARY", "ByCompany", "ByCountryCity", "ByCityDesc", "ByLowerCity", "ByCompanyToo"};
  // An index dropped or a column renamed since the order was stored: the table will not open.
  for (auto stale : {+[](TQVRTable* t) { t->SetIndexName("Dropped"); },
                     +[](TQVRTable* t) { t->SetIndexFieldNames("Country;Town"); }}) {
    stale(customers);
    ASSERT_THROW(customers->Open(), EDatabaseError);
    EXPECT_EQ(IndexNames(customers), indexNames);
    EXPECT_EQ(IndexFieldNames(customers), (Names{"CustNo", "Company", "Country;City", "Company"}));
    EXPECT_FALSE(customers->Active());
  }
  // Picking a valid index from the list repairs the table.
  Editor(TQVRIndexNameProperty::StaticClass(), {customers}, "IndexName")->SetValue("ByCompany");
  customers->Open();
  EXPECT_EQ(customers->GetIndexField(0)->FieldName(), "Company");
  customers->Close();

  // Any other failure still reaches the user, whatever order is stored.
  TQVRTable* missing = Table("Missing", "Sales", "nosuchtable");
  missing->SetIndexName("Dropped");
  EXPECT_THROW(IndexNames(missing), EDatabaseError);
  sales->SetDatabaseFileName((dir / "gone.tvd").string());
  customers->SetIndexName("Dropped");
  EXPECT_THROW(IndexNames(customers), EDatabaseError);
  EXPECT_FALSE(std::filesystem::exists(dir / "gone.tvd"));
}

TEST_F(NameLists, ATableClassWithoutIndexDefinitionsOffersNoIndexes) {
  auto* plain = Table<TTextIndexDefsTable>("Plain", "Sales", "customers");
  EXPECT_TRUE(IndexNames(plain).empty());
  EXPECT_TRUE(IndexFieldNames(plain).empty());
  EXPECT_FALSE(plain->Active());
}

TEST_F(NameLists, IndexListsNeedATable) {
  EXPECT_THROW(Values(TQVRIndexNameProperty::StaticClass(), {sales}, "DatabaseName"), EInvalidCast);
  EXPECT_THROW(Values(TQVRIndexFieldNamesProperty::StaticClass(), {sales}, "DatabaseName"), EInvalidCast);
}

TEST_F(NameLists, PropertyValuesAreObjectsOfObjectTypedPropertiesOnly) {
  EXPECT_EQ(GetPropertyValue(customers, "IndexDefs"), customers->IndexDefs());
  EXPECT_EQ(GetPropertyValue(customers, "indexdefs"), customers->IndexDefs());
  EXPECT_EQ(GetPropertyValue(customers, "TableName"), nullptr);
  EXPECT_EQ(GetPropertyValue(customers, "NoSuchProperty"), nullptr);
  EXPECT_EQ(GetPropertyValue(customers, "MasterSource"), nullptr);  // holds nil
  TSessionHolder holder;
  EXPECT_THROW(GetPropertyValue(&holder, "Session"), EInvalidCast);
}

}  // namespace
