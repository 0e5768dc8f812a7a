// The table's MasterFields editor on real database files: the designer works on a copy of the
// table, and the table receives MasterFields and its index only after OK, whole or not at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "editors/QVREdit.h"
#include "host/runtime/Qvrmain.h"
#include "tests/designide/FakeDesigner.h"
#include "tests/editors/SqliteFile.h"
#include "tests/fldlinks/DesignerFixtures.h"

namespace fs = std::filesystem;
using namespace fixtures;

namespace {

// Counts the destruction of the components it watches.
class TFreeWatch : public TComponent {
 public:
  TFreeWatch() : TComponent(nullptr) {}
  void Watch(TComponent* Component) {
    ++Watched;
    FLive.insert(Component);
    FreeNotification(Component);
  }
  int Live() const { return static_cast<int>(FLive.size()); }
  int Watched = 0;

 protected:
  // Told while Component is being destroyed: only its address is of use.
  void Notification(TComponent* Component, TOperation Operation) override {
    if (Operation == opRemove) FLive.erase(Component);
    TComponent::Notification(Component, Operation);
  }

 private:
  std::set<TComponent*> FLive;
};

// The table's editor, recording the contract's writes and watching the work table it works
// on; the designer's first call shows the work table as the copying left it.
class TRecordingFieldLink : public TQVRFieldLinkProperty {
  TIRVENDAL_CLASS(TRecordingFieldLink)

  TIndexDefs* GetIndexDefs() override {
    TIndexDefs* defs = TQVRFieldLinkProperty::GetIndexDefs();
    auto* work = As<TQVRTable>(defs->DataSet());
    if (work != Seen) {
      Seen = work;
      Watch->Watch(work);
      Initial = {work->GetIndexName(), work->GetIndexFieldNames(), work->GetMasterFields()};
      if (FirstLook) FirstLook();
    }
    return defs;
  }
  void SetIndexFieldNames(const std::string& Value) override {
    Calls.push_back("SetIndexFieldNames(" + Value + ")");
    TQVRFieldLinkProperty::SetIndexFieldNames(Value);
  }
  void SetIndexName(const std::string& Value) override {
    Calls.push_back("SetIndexName(" + Value + ")");
    TQVRFieldLinkProperty::SetIndexName(Value);
  }
  void SetMasterFields(const std::string& Value) override {
    Calls.push_back("SetMasterFields(" + Value + ")");
    TQVRFieldLinkProperty::SetMasterFields(Value);
  }

  static inline TFreeWatch* Watch = nullptr;
  static inline std::function<void()> FirstLook;  // runs when the designer first asks, the work table open
  TQVRTable* Seen = nullptr;                      // the last work table, a dangling key once it is freed
  Strings Initial;                                // IndexName, IndexFieldNames, MasterFields of the new work table
  Strings Calls;
};

}  // namespace

TClass TRecordingFieldLink::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TRecordingFieldLink>(TQVRFieldLinkProperty::StaticClass()).Constructible().Build();
  return &info;
}

namespace {

// customers(Id, Region, Name) is the master of orders, which is indexed by its primary key,
// ByCustomerDesc (CustId DESC), ByCustomer (CustId), ByRegionCust (Region, CustId) and
// ByShipDate (ShipDate).
class MasterFieldsEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    Initialize();
    dir = fs::temp_directory_path() / ("fieldlink-" + std::to_string(getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    sqlite_file::Create((dir / "shop.tvd").string(), R"sql(
      CREATE TABLE customers (Id INTEGER PRIMARY KEY, Region TEXT, Name TEXT);
      CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustId INTEGER, Region TEXT, ShipDate TEXT);
      CREATE INDEX ByCustomerDesc ON orders (CustId DESC);
      CREATE INDEX ByCustomer ON orders (CustId);
      CREATE INDEX ByRegionCust ON orders (Region, CustId);
      CREATE INDEX ByShipDate ON orders (ShipDate);
      INSERT INTO customers VALUES (1, 'North', 'Ada'), (2, 'South', 'Bo');
      INSERT INTO orders VALUES (10, 1, 'North', '2024-01-02'), (11, 2, 'South', '2024-01-03');
    )sql");
    auto* database = new TQVRDatabase(root.get());
    database->SetDatabaseName("LinkShop");
    database->SetDatabaseFileName((dir / "shop.tvd").string());
    customers = Table("Customers", "customers");
    source = new TDataSource(root.get());
    source->SetName("CustomersSource");
    source->SetDataSet(customers);
    orders = Table("Orders", "orders");
    orders->SetMasterSource(source);
    orders->SetIndexName("ByCustomer");
    orders->SetMasterFields("Id");
    TRecordingFieldLink::Watch = &watch;
  }

  void TearDown() override {
    EXPECT_EQ(watch.Live(), 0) << "a work table outlived the editor's Edit";
    TRecordingFieldLink::Watch = nullptr;
    TRecordingFieldLink::FirstLook = nullptr;
    editor.reset();
    root.reset();
    fs::remove_all(dir);
  }

  TQVRTable* Table(const std::string& name, const std::string& table) {
    auto* t = new TQVRTable(root.get());
    t->SetName(name);
    t->SetDatabaseName("LinkShop");
    t->SetTableName(table);
    return t;
  }

  // Presses the ellipsis button of Orders.MasterFields with a user following Script; After
  // runs once the dialog has closed, before anything is written back. What the user saw.
  std::string Edit(const std::string& Script, std::function<void()> After = {}) {
    std::unique_ptr<TPropertyEditor> made = CreatePropertyEditor(
        TRecordingFieldLink::StaticClass(), &designer, {orders}, GetPropInfo(orders->ClassType(), "MasterFields"));
    editor.reset(As<TRecordingFieldLink>(made.release()));
    THookedUser user(Script, std::move(After));
    TWidgetSetScope scope(user);
    editor->Edit();
    user.CheckFinished();
    return user.Output.str();
  }

  Strings Link() const { return {orders->GetIndexName(), orders->GetIndexFieldNames(), orders->GetMasterFields()}; }

  fs::path dir;
  std::unique_ptr<TComponent> root = std::make_unique<TComponent>(nullptr);
  TFakeDesigner designer{root.get()};
  TFreeWatch watch;
  std::unique_ptr<TRecordingFieldLink> editor;
  TQVRTable* customers = nullptr;
  TDataSource* source = nullptr;
  TQVRTable* orders = nullptr;
};

}  // namespace

TEST_F(MasterFieldsEditor, CancelAfterBrowsingIndexesLeavesTheTableAsItWas) {
  orders->Open();
  Edit("select IndexList ByShipDate\nselect IndexList ByRegionCust\nclick Button2\n");
  EXPECT_EQ(Link(), (Strings{"ByCustomer", "", "Id"}));
  EXPECT_FALSE(orders->Active());  // the designer's binding closes it
  EXPECT_FALSE(editor->LinkChanged());
  EXPECT_EQ(designer.ModifiedCount, 0);
  // The browsing went to the work table.
  EXPECT_EQ(editor->Calls, (Strings{"SetIndexName(ByCustomer)", "SetIndexName(ByShipDate)", "SetIndexName(ByShipDate)",
                                    "SetIndexName(ByRegionCust)", "SetIndexName(ByRegionCust)"}));
  EXPECT_EQ(watch.Watched, 1);
}

TEST_F(MasterFieldsEditor, OkWithoutAChangeStillWritesTheLinkBack) {
  orders->SetMasterFields("ID");
  // Between the dialog and the write-back the table is given other values, so that each value
  // the write-back leaves out shows.
  Edit("click Button1\n", [this] {
    orders->SetMasterFields("");
    orders->SetIndexFieldNames("ShipDate");
  });
  EXPECT_EQ(editor->Initial, (Strings{"ByCustomer", "", "ID"}));
  EXPECT_EQ(Link(), (Strings{"ByCustomer", "", "ID"}));
  EXPECT_TRUE(editor->LinkChanged());
  EXPECT_EQ(designer.ModifiedCount, 1);
  EXPECT_EQ(editor->Calls, (Strings{"SetIndexName(ByCustomer)", "SetIndexName(ByCustomer)", "SetMasterFields(ID)"}));
}

TEST_F(MasterFieldsEditor, ATableOrderedByFieldsGetsAnIndexNameOnlyWhenEveryFieldIsJoined) {
  orders->SetIndexFieldNames("Region;CustId");
  orders->SetMasterFields("Region;Id");
  // Unchanged, the order by fields stays an order by fields.
  Edit("click Button1\n");
  EXPECT_EQ(editor->Initial, (Strings{"", "Region;CustId", "Region;Id"}));
  EXPECT_EQ(Link(), (Strings{"", "Region;CustId", "Region;Id"}));
  Edit(
      "click ClearButton\nselect DetailList Region\nselect MasterList Region\nclick AddButton\n"
      "select DetailList CustId\nselect MasterList Id\nclick AddButton\nclick Button1\n");
  EXPECT_EQ(Link(), (Strings{"ByRegionCust", "", "Region;Id"}));

  Edit("select BindList CustId -> Id\nclick DeleteButton\nclick Button1\n");
  EXPECT_EQ(Link(), (Strings{"", "Region", "Region"}));
  EXPECT_EQ(designer.ModifiedCount, 3);
  EXPECT_EQ(watch.Watched, 3);
}

// Every stored link the table accepts opens in the designer with the joins that resolve as the
// table resolves them, and an OK that changes nothing gives every stored value back byte for
// byte: blanks typed after ";", an order by fields that an index after a descending one answers
// or that only a descending index answers, an index that is gone, master fields that an open
// master no longer fits.
TEST_F(MasterFieldsEditor, StoredLinksOpenAsTheTableReadsThemAndAnUnchangedOkKeepsEveryByte) {
  struct TStored {
    const char* Sql;
    bool MasterOpen;
    Strings Link;  // IndexName, IndexFieldNames, MasterFields
    Strings Joins;
  };
  const TStored cases[] = {
      {"", false, {"ByRegionCust", "", "Region; Id"}, {"Region -> Region", "CustId -> Id"}},
      {"", false, {"", "Region; CustId", "Region;Id"}, {"Region -> Region", "CustId -> Id"}},
      {"", false, {"", "CustId", "Id"}, {"CustId -> Id"}},
      {"", true, {"ByCustomer", "", "Id;Region"}, {"CustId -> Id"}},
      {"", true, {"ByCustomer", "", "Gone"}, {}},
      {"DROP INDEX ByCustomer", false, {"", "CustId", "Id"}, {"CustId -> Id"}},
      {"", false, {"ByCustomer", "", "Id"}, {}},
  };
  for (const TStored& stored : cases) {
    SCOPED_TRACE(stored.Link[0] + "|" + stored.Link[1] + "|" + stored.Link[2]);
    if (*stored.Sql) sqlite_file::Create((dir / "shop.tvd").string(), stored.Sql);
    stored.Link[1].empty() ? orders->SetIndexName(stored.Link[0]) : orders->SetIndexFieldNames(stored.Link[1]);
    orders->SetMasterFields(stored.Link[2]);
    if (stored.MasterOpen) customers->Open();
    const std::string shown = Edit("dump\nclick Button1\n");
    EXPECT_EQ(DumpedItems(shown, "BindList"), stored.Joins);
    EXPECT_EQ(Link(), stored.Link);
    customers->Close();
  }
}

TEST_F(MasterFieldsEditor, OneShowingReadsOneStructureThoughAnotherProgramChangesIt) {
  // Renamed between the work table's opening and the designer's binding: the designer goes on
  // with the structure the work table opened with.
  TRecordingFieldLink::FirstLook = [this] {
    sqlite_file::Create((dir / "shop.tvd").string(), "ALTER TABLE orders RENAME COLUMN ShipDate TO Shipped");
  };
  Edit(
      "select IndexList ByShipDate\nselect DetailList ShipDate\nselect MasterList Name\nclick AddButton\n"
      "click Button1\n");
  EXPECT_EQ(Link(), (Strings{"ByShipDate", "", "Name"}));
}

TEST_F(MasterFieldsEditor, ClearingEveryJoinLeavesNoOrderBehind) {
  // Ordered by fields, or by an index: OK with no join leaves the table on its primary key.
  orders->SetIndexFieldNames("Region;CustId");
  orders->SetMasterFields("Region;Id");
  Edit("click ClearButton\nclick Button1\n");
  EXPECT_EQ(Link(), (Strings{"", "", ""}));
  orders->SetIndexName("ByCustomer");
  orders->SetMasterFields("Id");
  Edit("click ClearButton\nclick Button1\n");
  EXPECT_EQ(Link(), (Strings{"", "", ""}));
  EXPECT_EQ(designer.ModifiedCount, 2);
}

TEST_F(MasterFieldsEditor, ATableWithoutAnIndexSettingGivesTheWorkTableAnEmptyIndexName) {
  orders->SetIndexFieldNames("");
  orders->SetMasterFields("");
  Edit("select DetailList OrderNo\nselect MasterList Id\nclick AddButton\nclick Button1\n");
  EXPECT_EQ(editor->Initial, (Strings{"", "", ""}));
  // The first index, the primary key, was chosen and every field of it joined.
  EXPECT_EQ(Link(), (Strings{"PRIMARY", "", "Id"}));
}

TEST_F(MasterFieldsEditor, ErrorsBeforeOkLeaveTheTableUntouched) {
  orders->SetMasterSource(nullptr);
  EXPECT_THROW(Edit(""), EDatabaseError);  // in the designer: no master
  EXPECT_EQ(watch.Watched, 1);
  orders->SetMasterSource(source);
  orders->SetTableName("vanished");  // accepted on the closed table, refused by the copy's opening
  try {
    Edit("");
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Orders: Table 'vanished' does not exist");  // named as the table's own errors are
  }
  EXPECT_EQ(watch.Watched, 1);  // the designer never asked for this work table
  EXPECT_EQ(Link(), (Strings{"ByCustomer", "", "Id"}));
  EXPECT_FALSE(editor->LinkChanged());
  EXPECT_EQ(designer.ModifiedCount, 0);
}

// Chooses ByRegionCust and joins both its fields.
constexpr const char* kJoinRegionCust =
    "select IndexList ByRegionCust\nselect DetailList Region\nselect MasterList Region\nclick AddButton\n"
    "select DetailList CustId\nselect MasterList Id\nclick AddButton\nclick Button1\n";

TEST_F(MasterFieldsEditor, AWriteBackFailingHalfWayRestoresTheTable) {
  // The chosen index disappears from the open table before the write-back: MasterFields is
  // written first, the index is refused, and the table gets its old MasterFields back.
  EXPECT_THROW(Edit(kJoinRegionCust,
                    [this] {
                      orders->Open();
                      orders->IndexDefs()->Delete(orders->IndexDefs()->IndexOf("ByRegionCust"));
                    }),
               EDatabaseError);
  EXPECT_EQ(Link(), (Strings{"ByCustomer", "", "Id"}));
  EXPECT_EQ(designer.ModifiedCount, 1);  // reported before the write-back

  // With its master open, the table checks MasterFields against its current order, which has
  // fewer fields than the new link: the new index goes first, and the accepted link is written.
  Edit(kJoinRegionCust, [this] {
    customers->Open();
    orders->Open();
  });
  EXPECT_EQ(Link(), (Strings{"ByRegionCust", "", "Region;Id"}));
  EXPECT_TRUE(orders->Active());
  EXPECT_EQ(designer.ModifiedCount, 2);
}

TEST_F(MasterFieldsEditor, TheContractAnswersOnlyWhileEditRuns) {
  TQVRFieldLinkProperty link;
  EXPECT_TRUE(link.GetIndexBased());
  EXPECT_THROW(link.GetIndexDefs(), EInvalidOperation);
  EXPECT_THROW(link.SetMasterFields("Id"), EInvalidOperation);
}
