// designhost check end to end: a project of forms in folders, whose tables name a database of
// another form, held against database files that have moved on; every kind of finding at its
// line, as text and as JSON, the exit statuses, and that nothing is written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

constexpr const char* kShared = R"(object Shared: TDataModule
  object ShopDb: TQVRDatabase
    DatabaseName = 'Shop'
    DatabaseFileName = 'data/shop.tvd'
  end
  object LostDb: TQVRDatabase
    DatabaseName = 'Lost'
    DatabaseFileName = 'data/shp.tvd'
  end
  object JunkDb: TQVRDatabase
    DatabaseName = 'Junk'
    DatabaseFileName = 'junk.tvd'
  end
  object NoFileDb: TQVRDatabase
    DatabaseName = 'NoFile'
  end
end
)";

// Orders is stored active with an index that is gone: the form must still be read and checked.
constexpr const char* kOrders = R"(object OrdersModule: TDataModule
  object Customers: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'customers'
  end
  object CustomersSource: TDataSource
    DataSet = Customers
  end
  object Orders: TQVRTable
    Active = True
    DatabaseName = 'shop'
    TableName = 'ORDERS'
    MasterSource = CustomersSource
    IndexName = 'ByCustomr'
    MasterFields = 'CustNo'
  end
  object Items: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'itemz'
  end
  object ByFields: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    IndexFieldNames = 'CustNo;SaleDat'
  end
  object Loose: TQVRTable
    DatabaseName = 'Shopp'
    TableName = 'orders'
  end
  object EmptySource: TDataSource
  end
  object Orphan: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = EmptySource
  end
  object TooMany: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = CustomersSource
    IndexName = 'ByCustNo'
    MasterFields = 'CustNo;Compny'
  end
  object NoTable: TQVRTable
    DatabaseName = 'Shop'
  end
  object Linked: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = CustomersSource
    IndexName = 'ByCustomer'
    MasterFields = 'CustNo'
  end
end
)";

constexpr const char* kBroken = "object Broken: TDataModule\n  object T: TQVRTable\n    Foo = 1\n  end\nend\n";

// The line (from 1) of the first line of Text that contains Part, after the line From.
int LineOf(const std::string& Text, const std::string& Part, const std::string& From = {}) {
  std::istringstream in(Text);
  std::string line;
  bool started = From.empty();
  for (int number = 1; std::getline(in, line); ++number) {
    if (!started && line.find(From) != std::string::npos) started = true;
    if (started && line.find(Part) != std::string::npos) return number;
  }
  ADD_FAILURE() << "no line with " << Part;
  return 0;
}

// Every file under Dir with its size, modification time and bytes.
std::map<std::string, std::string> Snapshot(const fs::path& Dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(Dir)) {
    struct stat info {};
    stat(entry.path().c_str(), &info);
    std::ostringstream state;
    state << info.st_size << ' ' << info.st_mtim.tv_sec << '.' << info.st_mtim.tv_nsec << ' ';
    if (entry.is_regular_file()) state << ReadFile(entry.path());
    files[entry.path().string()] = state.str();
  }
  return files;
}

class Check : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "proj" / "data");
    fs::create_directories(dir / "proj" / "forms");
    ExecSql(dir / "proj" / "data" / "shop.tvd", R"sql(
      CREATE TABLE customers (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT);
      CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, SaleDate DATE);
      CREATE INDEX ByCustomer ON orders (CustNo, SaleDate);
      CREATE INDEX ByCustNo ON orders (CustNo);
      CREATE TABLE items (OrderNo INTEGER, ItemNo INTEGER);
    )sql");
    WriteFile(dir / "proj" / "junk.tvd", "not a database at all");
    WriteFile(dir / "proj" / "shared.xfm", kShared);
    WriteFile(dir / "proj" / "forms" / "orders.xfm", kOrders);
    WriteFile(dir / "proj" / "forms" / "broken.xfm", kBroken);
    WriteFile(dir / "proj" / "forms" / "notes.txt", "not a form");
  }

  TProcessResult Host(const std::vector<std::string>& args) { return RunProgram(kDesignhost, args, dir.Path()); }

  TTempDir dir;
};

TEST_F(Check, FindsEveryKindOfStaleNameAtItsLineAcrossTheFormsOfAFolder) {
  auto before = Snapshot(dir.Path());
  TProcessResult text = Host({"check", "proj"});
  EXPECT_EQ(text.Status, 1) << text.Err;
  EXPECT_EQ(text.Err, "");

  auto at = [](const std::string& file, int line, const std::string& rest) {
    return "proj/" + file + ":" + std::to_string(line) + ": error: " + rest + "\n";
  };
  const std::string o = kOrders;
  const std::string s = kShared;
  const std::string expected =
      at("forms/broken.xfm", 3, ".: TQVRTable has no property 'Foo'") +
      at("forms/orders.xfm", LineOf(o, "IndexName = 'ByCustomr'"),
         "Orders.IndexName: no index 'ByCustomr' in table 'orders'; did you mean 'ByCustomer'?") +
      at("forms/orders.xfm", LineOf(o, "'itemz'"),
         "Items.TableName: no table 'itemz' in 'proj/data/shop.tvd'; did you mean 'items'?") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;SaleDat'"),
         "ByFields.IndexFieldNames: no field 'SaleDat' in table 'orders'; did you mean 'SaleDate'?") +
      at("forms/orders.xfm", LineOf(o, "'Shopp'"),
         "Loose.DatabaseName: no database 'Shopp' in the checked forms; did you mean 'Shop'?") +
      at("forms/orders.xfm", LineOf(o, "MasterSource = EmptySource"),
         "Orphan.MasterSource: data source 'EmptySource' has no data set") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;Compny'"),
         "TooMany.MasterFields: no field 'Compny' in master table 'customers' (Customers); did you mean 'Company'?") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;Compny'"),
         "TooMany.MasterFields: 2 master fields but the order of table 'orders' (index 'ByCustNo') has 1 field") +
      // A property that is not stored is reported at its component's object line.
      at("forms/orders.xfm", LineOf(o, "object NoTable"), "NoTable.TableName: the table names no table") +
      at("shared.xfm", LineOf(s, "'data/shp.tvd'"),
         "LostDb.DatabaseFileName: Database file 'proj/data/shp.tvd' does not exist; did you mean "
         "'data/shop.tvd'?") +
      at("shared.xfm", LineOf(s, "'junk.tvd'"),
         "JunkDb.DatabaseFileName: Cannot open database file 'proj/junk.tvd': file is not a database") +
      at("shared.xfm", LineOf(s, "object NoFileDb"), "NoFileDb.DatabaseFileName: no database file named");
  EXPECT_EQ(text.Out, expected);

  // The same findings as JSON, one object a line, in the same order.
  TProcessResult json = Host({"check", "--json", "proj"});
  EXPECT_EQ(json.Status, 1);
  EXPECT_EQ(json.Out.rfind(R"({"file":"proj/forms/broken.xfm","line":3,"component":"","property":"",)", 0), 0u)
      << json.Out;
  std::istringstream lines(json.Out);
  std::string rebuilt;
  for (std::string line; std::getline(lines, line);) {
    auto f = nlohmann::json::parse(line);
    rebuilt += f["file"].get<std::string>() + ":" + std::to_string(f["line"].get<int>()) +
               ": error: " + f["component"].get<std::string>() + "." + f["property"].get<std::string>() + ": " +
               f["message"].get<std::string>() + "\n";
  }
  EXPECT_EQ(rebuilt, expected);

  // A form named twice, and its folder besides, is checked once.
  TProcessResult twice = Host({"check", "proj/shared.xfm", "proj", "proj/shared.xfm"});
  EXPECT_EQ(twice.Out, expected);

  // Without the form that declares the database, the tables name no database the check knows.
  TProcessResult alone = Host({"check", "proj/forms/orders.xfm"});
  EXPECT_EQ(alone.Status, 1);
  EXPECT_NE(alone.Out.find(at("forms/orders.xfm", LineOf(o, "'Shop'", "object Customers"),
                              "Customers.DatabaseName: no database 'Shop' in the checked forms")),
            std::string::npos)
      << alone.Out;

  // Nothing was created, changed or even touched.
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(Check, ASoundProjectPassesAndWrongUsageIsTwo) {
  ASSERT_EQ(Host({"new-demo", "demo"}).Status, 0);
  TProcessResult sound = Host({"check", "demo", "--json"});
  EXPECT_EQ(sound.Status, 0) << sound.Out << sound.Err;
  EXPECT_EQ(sound.Out, "");

  EXPECT_EQ(Host({"check"}).Status, 2);
  TProcessResult missing = Host({"check", "demo", "nowhere"});
  EXPECT_EQ(missing.Status, 2);
  EXPECT_NE(missing.Err.find("nowhere"), std::string::npos);
  EXPECT_EQ(missing.Out, "");
}

}  // namespace
