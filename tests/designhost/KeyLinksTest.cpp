// new, link and links --suggest end to end on a database whose tables declare foreign keys as
// real schemas do: the written form, its notes, and what check and links make of it.
#include "tests/designhost/KeySchema.h"
#include "tests/designhost/ProjectFixture.h"

namespace {

using namespace project_fixture;

class KeyLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "data");
    ExecSql(dir / "data" / "shop.tvd", key_schema::kSql);
  }
  TProcessResult Host(const std::vector<std::string>& args) { return RunProgram(kDesignhost, args, dir.Path()); }

  TTempDir dir;
};

constexpr const char* kNewForm = R"(object shop: TDataModule
  object Database1: TQVRDatabase
    DatabaseName = 'shop'
    DatabaseFileName = 'data/shop.tvd'
  end
  object staff: TQVRTable
    DatabaseName = 'shop'
    TableName = 'staff'
    MasterSource = storeSource
    IndexFieldNames = 'store_id'
    MasterFields = 'store_id'
  end
  object store: TQVRTable
    DatabaseName = 'shop'
    TableName = 'store'
  end
  object storeSource: TDataSource
    DataSet = store
  end
  object customer: TQVRTable
    DatabaseName = 'shop'
    TableName = 'customer'
  end
  object customerSource: TDataSource
    DataSet = customer
  end
  object orders: TQVRTable
    DatabaseName = 'shop'
    TableName = 'orders'
    MasterSource = customerSource
    IndexName = 'orders_by_customer'
    MasterFields = 'Id'
  end
  object ordersSource: TDataSource
    DataSet = orders
  end
  object order_lines: TQVRTable
    DatabaseName = 'shop'
    TableName = 'order lines'
    MasterSource = ordersSource
    IndexName = 'PRIMARY'
    MasterFields = 'order_no'
  end
  object order_linesSource: TDataSource
    DataSet = order_lines
  end
  object M2024_archive: TQVRTable
    DatabaseName = 'shop'
    TableName = '2024-archive'
    MasterSource = order_linesSource
    IndexFieldNames = 'order_no;line_no'
    MasterFields = 'order_no;line_no'
  end
end
)";

TEST_F(KeyLinks, NewWritesEveryTableLinkedByItsFirstUsableKeyAndCheckFindsNothing) {
  TProcessResult made = Host({"new", "shop.xfm", "data/shop.tvd"});
  ASSERT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Out, "");
  EXPECT_EQ(made.Err,
            "note: staff: references itself (boss_id); not linked\n"
            "note: store: references staff (manager_id); not linked: it would close a loop\n"
            "note: orders: also references customer (ship_to); not linked\n");
  EXPECT_EQ(ReadFile(dir / "shop.xfm"), kNewForm);

  TProcessResult check = Host({"check", "shop.xfm"});
  EXPECT_EQ(check.Status, 0) << check.Out << check.Err;
  EXPECT_EQ(check.Out, "");
  TProcessResult links = Host({"links", "shop.xfm"});
  EXPECT_EQ(links.Status, 0) << links.Err;
  EXPECT_EQ(links.Out,
            "shop.xfm\tstaff\tstore\tstore_id=store_id\n"
            "shop.xfm\torders\tcustomer\tbill_to=Id\n"
            "shop.xfm\torder_lines\torders\torder_no=order_no\n"
            "shop.xfm\tM2024_archive\torder_lines\torder_no=order_no;line_no=line_no\n");

  // The form is not replaced without --force; --tables takes the order given, and a view or a
  // name that is no table is refused naming it, with nothing written.
  const std::string before = ReadFile(dir / "shop.xfm");
  TProcessResult again = Host({"new", "shop.xfm", "data/shop.tvd"});
  EXPECT_EQ(again.Status, 1);
  EXPECT_NE(again.Err.find("'shop.xfm' already exists"), std::string::npos) << again.Err;
  TProcessResult view = Host({"new", "--force", "--tables", "orders,order_total", "shop.xfm", "data/shop.tvd"});
  EXPECT_EQ(view.Status, 1);
  EXPECT_EQ(view.Err, "error: EDatabaseError: 'order_total' is a view, not a table\n");
  EXPECT_EQ(ReadFile(dir / "shop.xfm"), before);

  fs::create_directories(dir / "forms");
  TProcessResult some = Host({"new", "--tables", "ORDERS,customer", "forms/2 orders.xfm", "data/shop.tvd"});
  ASSERT_EQ(some.Status, 0) << some.Err;
  EXPECT_EQ(some.Err, "note: orders: also references customer (ship_to); not linked\n");
  const std::string text = ReadFile(dir / "forms" / "2 orders.xfm");
  EXPECT_EQ(text.substr(0, text.find("  object orders")),
            "object M2_orders: TDataModule\n  object Database1: TQVRDatabase\n    DatabaseName = 'shop'\n"
            "    DatabaseFileName = '../data/shop.tvd'\n  end\n");
  EXPECT_LT(text.find("object orders:"), text.find("object customerSource:"));
  EXPECT_EQ(Host({"links", "forms"}).Out, "forms/2 orders.xfm\torders\tcustomer\tbill_to=Id\n");

  // A view named as a table is said to be one, by check and by the table that opens it.
  WriteFile(dir / "view.xfm",
            "object V: TDataModule\n  object Database1: TQVRDatabase\n    DatabaseName = 'Shop'\n"
            "    DatabaseFileName = 'data/shop.tvd'\n  end\n  object Totals: TQVRTable\n    Active = True\n"
            "    DatabaseName = 'Shop'\n    TableName = 'order_total'\n  end\nend\n");
  EXPECT_EQ(Host({"check", "view.xfm"}).Out,
            "view.xfm:9: error: Totals.TableName: 'order_total' is a view, not a table\n");
  EXPECT_EQ(Host({"properties", "view.xfm", "Totals"}).Err, "warning: Totals: 'order_total' is a view, not a table\n");
}

TEST_F(KeyLinks, LinkAndSuggestOnAHandMadeForm) {
  WriteFile(dir / "hand.xfm", key_schema::kHandForm);
  TProcessResult suggested = Host({"links", "--suggest", "--json", "hand.xfm"});
  EXPECT_EQ(suggested.Status, 0) << suggested.Err;
  auto line = [](const std::string& Detail, const std::string& DetailTable, const std::string& Master,
                 const std::string& MasterTable, const std::string& Index, const std::string& Pairs) {
    return R"({"file":"hand.xfm","detail":")" + Detail + R"(","detailTable":")" + DetailTable + R"(","master":")" +
           Master + R"(","masterTable":")" + MasterTable + R"(","index":")" + Index + R"(","pairs":)" + Pairs + "}\n";
  };
  EXPECT_EQ(suggested.Out,
            line("Store", "store", "Staff", "staff", "", R"([["manager_id","staff_id"]])") +
                line("Orders", "orders", "Customers", "customer", "orders_by_customer", R"([["bill_to","Id"]])") +
                line("Orders", "orders", "Customers", "customer", "", R"([["ship_to","Id"]])") +
                line("Lines", "order lines", "Orders", "orders", "PRIMARY", R"([["order_no","order_no"]])"));

  // Each refusal names what stands in the way and changes nothing.
  const auto before = Snapshot(dir.Path());
  auto refused = [&](const std::vector<std::string>& Args, const std::string& Message) {
    TProcessResult result = Host(Args);
    EXPECT_EQ(result.Status, 1) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "error: EDatabaseError: " + Message + "\n");
  };
  refused({"link", "hand.xfm", "Orders"},
          "table 'orders' (Orders) declares 2 foreign keys to table 'customer': (bill_to), (ship_to)");
  refused({"link", "hand.xfm", "Customers", "Orders"},
          "table 'customer' (Customers) declares no foreign key to table 'orders' (Orders)");
  refused({"link", "hand.xfm", "Store"},
          "linking Store to Staff would close a loop: Staff is already a detail of Store");
  refused({"link", "hand.xfm", "Line"}, "no table component 'Line' in hand.xfm; did you mean 'Lines'?");
  refused({"link", "hand.xfm", "Lines", "StoreSource"}, "no table component 'StoreSource' in hand.xfm");
  EXPECT_EQ(Snapshot(dir.Path()), before);

  // Lines is linked as new links it, through a data source made for Orders.
  TProcessResult linked = Host({"link", "hand.xfm", "Lines"});
  ASSERT_EQ(linked.Status, 0) << linked.Err;
  EXPECT_EQ(linked.Out.rfind(R"({"modified":true,"changes":{"Lines.IndexName":"PRIMARY","Lines.MasterFields":)"
                             R"("order_no","Lines.MasterSource":"OrdersSource","OrdersSource.DataSet":"Orders",)",
                             0),
            0u)
      << linked.Out;
  const std::string text = ReadFile(dir / "hand.xfm");
  EXPECT_NE(text.find("    TableName = 'order lines'\n    MasterSource = OrdersSource\n    IndexName = 'PRIMARY'\n"
                      "    MasterFields = 'order_no'\n  end\n  object OrdersSource: TDataSource\n"
                      "    DataSet = Orders\n  end\nend\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(Host({"check", "hand.xfm"}).Status, 0);
  EXPECT_EQ(Host({"links", "hand.xfm"}).Out,
            "hand.xfm\tStaff\tStore\tstore_id=store_id\nhand.xfm\tLines\tOrders\torder_no=order_no\n");
  // Linked tables are suggested no more; linking again changes nothing and saves nothing.
  EXPECT_EQ(Host({"links", "--suggest", "hand.xfm"}).Out.find("\tLines\t"), std::string::npos);
  EXPECT_EQ(Host({"link", "hand.xfm", "Lines", "Orders"}).Out, "{\"modified\":false,\"changes\":{}}\n");
  EXPECT_EQ(ReadFile(dir / "hand.xfm"), text);
}

}  // namespace
