// designhost check end to end: a project of forms in folders, whose tables name a database of
// another form, held against database files that have moved on; every kind of finding at its
// line, as text and as JSON, the exit statuses, and that nothing is written.
#include <nlohmann/json.hpp>

#include "tests/designhost/ProjectFixture.h"

namespace {

using namespace project_fixture;

class Check : public ProjectTest {};

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
