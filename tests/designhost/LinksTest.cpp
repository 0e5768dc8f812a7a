// designhost links end to end: the master/detail map of a project's forms as lines, as JSON and
// as a Graphviz graph that dot renders.
#include "tests/designhost/ProjectFixture.h"

namespace {

using namespace project_fixture;

class Links : public ProjectTest {};

size_t Count(const std::string& Text, const std::string& Part) {
  size_t count = 0;
  for (size_t at = Text.find(Part); at != std::string::npos; at = Text.find(Part, at + 1)) ++count;
  return count;
}

TEST_F(Links, MapsEveryMasterToItsDetailsWithTheJoinedFields) {
  auto before = Snapshot(dir.Path());
  TProcessResult text = Host({"links", "proj"});
  // The form that does not read is named with its line; the others are still mapped.
  EXPECT_EQ(text.Status, 1);
  EXPECT_EQ(text.Err, "proj/forms/broken.xfm:3: error: EFormError: TQVRTable has no property 'Foo'\n");
  const std::string f = "proj/forms/orders.xfm\t";
  EXPECT_EQ(text.Out, f + "Orders\tCustomers\t\n" +                                // its index is gone: nothing to pair
                          f + "TooMany\tCustomers\tCustNo=CustNo\n" +              // as far as the index reaches
                          f + "Linked\tCustomers\tCustNo=CustNo\n" +               // as far as the master fields reach
                          f + "Keyed\tLinked\tOrderNo=OrderNo\n" +                 // the primary key's order
                          f + "Dated\tCustomers\tCustNo=CustNo;SaleDate=City\n");  // IndexFieldNames

  TProcessResult json = Host({"links", "--json", "proj/forms/orders.xfm", "proj/shared.xfm"});
  EXPECT_EQ(json.Status, 0) << json.Err;
  EXPECT_NE(json.Out.find(R"({"file":"proj/forms/orders.xfm","detail":"Keyed","detailTable":"items",)"
                          R"("master":"Linked","masterTable":"orders","index":"","pairs":[["OrderNo","OrderNo"]]})"
                          "\n"),
            std::string::npos)
      << json.Out;
  EXPECT_NE(json.Out.find(R"("index":"ByCustomr","pairs":[]})"), std::string::npos) << json.Out;
  EXPECT_EQ(Count(json.Out, "\n"), 5u);

  // The graph: a node for every table, an edge from every master to its detail; dot draws it.
  TProcessResult dot = Host({"links", "--dot", "proj/forms/orders.xfm", "proj/shared.xfm"});
  EXPECT_EQ(dot.Status, 0) << dot.Err;
  EXPECT_NE(dot.Out.find("[label=\"Keyed\\nitems\"]"), std::string::npos) << dot.Out;
  WriteFile(dir / "links.dot", dot.Out);
  TProcessResult svg = RunProgram("/usr/bin/dot", {"-Tsvg", "-o", "links.svg", "links.dot"}, dir.Path());
  ASSERT_EQ(svg.Status, 0) << svg.Err;
  const std::string picture = ReadFile(dir / "links.svg");
  EXPECT_EQ(Count(picture, "class=\"node\""), 11u);
  EXPECT_EQ(Count(picture, "class=\"edge\""), 5u);
  EXPECT_NE(picture.find("CustNo=CustNo;SaleDate=City"), std::string::npos);

  fs::remove(dir / "links.dot");
  fs::remove(dir / "links.svg");
  EXPECT_EQ(Snapshot(dir.Path()), before);
  EXPECT_EQ(Host({"links", "--json", "--dot", "proj"}).Status, 2);
}

TEST_F(Links, ALinkWhosePairsCannotBeReadIsListedWithAWarning) {
  const std::string o = kOrders;
  const fs::path database = dir / "proj" / "data" / "shop.tvd";
  // Each link is listed with the pairs it can give (a stored field list needs no database); the
  // others are named on stderr at their MasterSource line with the reason.
  auto warnings = [&](const std::string& reason) {
    std::string text;
    for (const std::string detail : {"Orders", "TooMany", "Linked", "Keyed"})
      text += "warning: proj/forms/orders.xfm:" + std::to_string(LineOf(o, "MasterSource", "object " + detail + ":")) +
              ": " + detail + ": " + reason + "\n";
    return text;
  };
  fs::rename(database, dir / "moved.tvd");
  TProcessResult missing = Host({"links", "proj/forms/orders.xfm", "proj/shared.xfm"});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Err, warnings("Database file 'proj/data/shop.tvd' does not exist"));
  EXPECT_EQ(Count(missing.Out, "\n"), 5u);
  EXPECT_NE(missing.Out.find("Dated\tCustomers\tCustNo=CustNo;SaleDate=City\n"), std::string::npos) << missing.Out;

  WriteFile(database, "not a database at all");
  TProcessResult dot = Host({"links", "--dot", "proj/forms/orders.xfm", "proj/shared.xfm"});
  EXPECT_EQ(dot.Status, 1);
  EXPECT_EQ(dot.Err, warnings("Cannot open database file 'proj/data/shop.tvd': file is not a database"));
  EXPECT_EQ(Count(dot.Out, " -> "), 5u);
}

}  // namespace
