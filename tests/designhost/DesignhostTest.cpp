// designhost end to end: the commands on databases and forms the tests make, their outputs,
// exit statuses and messages, and that a failing command leaves every file as it was.
#include <gtest/gtest.h>

#include "tests/support/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

TProcessResult Host(const std::vector<std::string>& args, const fs::path& dir = {}) {
  return RunProgram(kDesignhost, args, dir);
}

class Designhost : public ::testing::Test {
 protected:
  void SetUp() override {
    TProcessResult demo = Host({"new-demo", (dir / "demo").string()});
    ASSERT_EQ(demo.Status, 0) << demo.Err;
    form = (dir / "demo" / "demo.xfm").string();
  }

  // A form with one database on File and one table per entry of Tables.
  std::string MakeForm(const std::string& name, const std::string& file, const std::vector<std::string>& tables) {
    std::string text =
        "object M: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'D'\n"
        "    DatabaseFileName = '" +
        file + "'\n  end\n";
    for (size_t i = 0; i < tables.size(); ++i)
      text += "  object T" + std::to_string(i + 1) + ": TQVRTable\n    DatabaseName = 'D'\n    TableName = '" +
              tables[i] + "'\n  end\n";
    text += "end\n";
    WriteFile(dir / name, text);
    return (dir / name).string();
  }

  TTempDir dir;
  std::string form;
};

TEST_F(Designhost, PaletteListsTheTwoComponentsInRegistrationOrder) {
  TProcessResult r = Host({"palette"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Tirvendal\tTQVRTable\nTirvendal\tTQVRDatabase\n");
}

// The commands without windows never load Qt: the dynamic loader's own account of the files it
// opened shows none of Qt's libraries, nor the plugin that brings them.
TEST_F(Designhost, HeadlessCommandsLoadNoQt) {
  WriteFile(dir / "cancel.txt", "click Button2\n");
  const std::vector<std::vector<std::string>> commands = {
      {"palette"},
      {"values", form, "Orders.IndexName"},
      {"edit", form, "Orders.MasterFields", "--script", (dir / "cancel.txt").string()}};
  for (const auto& command : commands) {
    std::vector<std::string> args = {"LD_DEBUG=files", kDesignhost};
    args.insert(args.end(), command.begin(), command.end());
    TProcessResult r = RunProgram("/usr/bin/env", args);
    ASSERT_EQ(r.Status, 0) << command[0] << r.Err;
    EXPECT_NE(r.Err.find("bpldclTirvendalK3D.so"), std::string::npos) << command[0];  // the account is there
    EXPECT_EQ(r.Err.find("libQt6"), std::string::npos) << command[0];
    EXPECT_EQ(r.Err.find("designhostgui"), std::string::npos) << command[0];
  }
}

TEST_F(Designhost, PackageInfoShowsTheMetadata) {
  TProcessResult r = Host({"package-info"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  auto lines = SplitLines(r.Out);
  EXPECT_EQ(lines[0], "name: dclTirvendalK3D");
  EXPECT_EQ(lines[1], "description: Tirvendal - Design package");
  std::vector<std::string> requires_;
  for (const auto& l : lines)
    if (l.rfind("requires: ", 0) == 0) requires_.push_back(l.substr(10));
  EXPECT_EQ(requires_, (std::vector<std::string>{"bplvclTirvendalK3D.so", "bpldesignide.so.6.9", "bpldataclx.so.6.9",
                                                 "bplvisualclx.so.6.9", "bplrtl.so.6.9"}));
  EXPECT_NE(r.Out.find("resource: tqvrlinkfields"), std::string::npos);
  TProcessResult missing = Host({"package-info", (dir / "nothing.so").string()});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("error: EPackageError: "), std::string::npos) << missing.Err;
}

TEST_F(Designhost, PropertiesShowEditorsAndAttributes) {
  TProcessResult r = Host({"properties", form, "Orders"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("TableName\torders\tTQVRTableNameProperty\tpaValueList,paMultiSelect,paSortList\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("IndexName\t\tTQVRIndexNameProperty\tpaValueList,paMultiSelect,paSortList\n"),
            std::string::npos);
  EXPECT_NE(r.Out.find("DatabaseName\tDemo\tTQVRDatabaseNameProperty\t"), std::string::npos);
  TProcessResult db = Host({"properties", form, "Database1"});
  EXPECT_NE(db.Out.find("SessionName\t\tTQVRSessionNameProperty\tpaValueList,paMultiSelect,paSortList\n"),
            std::string::npos)
      << db.Out;
}

TEST_F(Designhost, SeveralSelectedShowOnlyMultiSelectProperties) {
  TProcessResult r = Host({"properties", form, "Customers,Orders"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (const std::string& line : SplitLines(r.Out)) EXPECT_NE(line.find("paMultiSelect"), std::string::npos) << line;
  EXPECT_NE(r.Out.find("TableName\t"), std::string::npos);
}

TEST_F(Designhost, ValueListsSortedOrRaw) {
  TProcessResult tables = Host({"values", form, "Orders.TableName"});
  ASSERT_EQ(tables.Status, 0) << tables.Err;
  EXPECT_EQ(tables.Out, "customers\nitems\norders\n");
  TProcessResult raw = Host({"values", "--raw", form, "Customers.IndexName"});
  ASSERT_EQ(raw.Status, 0) << raw.Err;
  // Creation order, the primary key first.
  EXPECT_EQ(SplitLines(raw.Out).front(), "PRIMARY");
  TProcessResult sorted = Host({"values", form, "Customers.IndexName"});
  auto s = SplitLines(sorted.Out);
  EXPECT_TRUE(std::is_sorted(s.begin(), s.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_EQ(s.size(), SplitLines(raw.Out).size());
}

TEST_F(Designhost, IndexFieldNamesLeaveOutDescendingAndExpressionIndexes) {
  TProcessResult r = Host({"values", "--raw", form, "Orders.IndexFieldNames"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "OrderNo\nCustNo;SaleDate\nCustNo\n");
  TProcessResult names = Host({"values", "--raw", form, "Orders.IndexName"});
  EXPECT_NE(names.Out.find("ByDateDesc\n"), std::string::npos);
  EXPECT_NE(names.Out.find("ByShipper\n"), std::string::npos);
}

TEST_F(Designhost, DuplicatesAreDeliveredTwiceRaw) {
  ExecSql(dir / "dup.tvd",
          "CREATE TABLE t (a INTEGER, b TEXT); CREATE INDEX i1 ON t (a, b); CREATE INDEX i2 ON t (a, b);");
  std::string f = MakeForm("dup.xfm", "dup.tvd", {"t"});
  TProcessResult r = Host({"values", "--raw", f, "T1.IndexFieldNames"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "a;b\na;b\n");
}

TEST_F(Designhost, TwoTablesWithDifferentDatabasesListTheFirstOnesTables) {
  ExecSql(dir / "one.tvd", "CREATE TABLE alpha (x); CREATE TABLE beta (y);");
  ExecSql(dir / "two.tvd", "CREATE TABLE gamma (z);");
  std::string text =
      "object M: TDataModule\n"
      "  object D1: TQVRDatabase\n    DatabaseName = 'One'\n    DatabaseFileName = 'one.tvd'\n  end\n"
      "  object D2: TQVRDatabase\n    DatabaseName = 'Two'\n    DatabaseFileName = 'two.tvd'\n  end\n"
      "  object A: TQVRTable\n    DatabaseName = 'Two'\n  end\n"
      "  object B: TQVRTable\n    DatabaseName = 'One'\n  end\n"
      "end\n";
  WriteFile(dir / "two.xfm", text);
  TProcessResult r = Host({"values", (dir / "two.xfm").string(), "A,B.TableName"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "gamma\n");
  TProcessResult swapped = Host({"values", (dir / "two.xfm").string(), "B,A.TableName"});
  EXPECT_EQ(swapped.Out, "alpha\nbeta\n");
}

TEST_F(Designhost, SetSavesTheFormAndReadsBack) {
  TProcessResult r = Host({"set", form, "Orders.IndexName", "ByCustomer"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(ReadFile(form).find("IndexName = 'ByCustomer'"), std::string::npos) << ReadFile(form);
  TProcessResult props = Host({"properties", form, "Orders"});
  EXPECT_NE(props.Out.find("IndexName\tByCustomer\t"), std::string::npos);
  EXPECT_EQ(ListDir(dir / "demo"), (std::vector<std::string>{"demo.tvd", "demo.xfm"}));
}

TEST_F(Designhost, BadDatabaseFilesFailCleanly) {
  WriteFile(dir / "text.tvd", "this is not a database");
  struct Case {
    std::string file;
    std::string table;
    std::string expect;
  };
  for (const Case& c : {Case{"missing.tvd", "t", "missing.tvd"}, Case{"text.tvd", "t", "text.tvd"}}) {
    std::string f = MakeForm("bad.xfm", c.file, {c.table});
    std::string before = ReadFile(f);
    auto filesBefore = ListDir(dir.Path());
    TProcessResult r = Host({"values", f, "T1.IndexName"});
    EXPECT_EQ(r.Status, 1) << c.file;
    EXPECT_EQ(r.Err.rfind("error: EDatabaseError: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(c.expect), std::string::npos) << r.Err;
    EXPECT_EQ(ReadFile(f), before);
    EXPECT_EQ(ListDir(dir.Path()), filesBefore) << "no stray files for " << c.file;
  }
  ExecSql(dir / "real.tvd", "CREATE TABLE t (a);");
  std::string f = MakeForm("notable.xfm", "real.tvd", {"nosuchtable"});
  TProcessResult r = Host({"values", f, "T1.IndexName"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("nosuchtable"), std::string::npos) << r.Err;
}

TEST_F(Designhost, BadFormFilesNameFileAndLine) {
  struct Case {
    std::string text;
    std::string place;  // ":LINE" as the error puts it before "error:"
    std::string message;
  };
  const std::vector<Case> cases = {
      {"object M: TDataModule\n  object T: TQVRTable\n    TableName = 'x\n  end\nend\n", ":3", ""},
      {"object M: TDataModule\n  object T: TNoSuchClass\n  end\nend\n", ":2", ""},
      {"object M: TDataModule\n  object T: TQVRTable\n    Foo = 1\n  end\nend\n", ":3",
       "TQVRTable has no property 'Foo'"},
      {"object M: TDataModule\n  object T: TQVRTable\n    MasterSource = Nowhere\n  end\nend\n", ":3", ""},
      {"object M: TDataModule\n  object T: TQVRTable\n  end\n", ":", ""},
  };
  const std::string file = (dir / "bad.xfm").string();
  for (const Case& c : cases) {
    WriteFile(file, c.text);
    TProcessResult r = Host({"set", file, "T.TableName", "y"});
    EXPECT_EQ(r.Status, 1) << c.text;
    EXPECT_EQ(r.Err.rfind(file + c.place, 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(": error: EFormError: " + c.message), std::string::npos) << r.Err;
    EXPECT_EQ(ReadFile(file), c.text);
  }
}

TEST_F(Designhost, UsageErrorsExitWithTwoAndSaveNothing) {
  std::string before = ReadFile(form);
  EXPECT_EQ(Host({}).Status, 2);
  EXPECT_EQ(Host({"properties", form}).Status, 2);
  TProcessResult nobody = Host({"set", form, "Nobody.TableName", "x"});
  EXPECT_EQ(nobody.Status, 2);
  EXPECT_NE(nobody.Err.find("Nobody"), std::string::npos);
  TProcessResult noList = Host({"values", form, "Orders.MasterFields"});
  EXPECT_EQ(noList.Status, 2);
  EXPECT_NE(noList.Err.find("no value list"), std::string::npos);
  TProcessResult noProp = Host({"values", form, "Orders.Nothing"});
  EXPECT_EQ(noProp.Status, 2);
  EXPECT_EQ(ReadFile(form), before);
}

TEST_F(Designhost, NewDemoNeverOverwrites) {
  std::string before = ReadFile(form);
  TProcessResult again = Host({"new-demo", (dir / "demo").string()});
  EXPECT_EQ(again.Status, 1);
  EXPECT_NE(again.Err.find("already exists"), std::string::npos);
  EXPECT_EQ(ReadFile(form), before);
  EXPECT_EQ(ListDir(dir / "demo"), (std::vector<std::string>{"demo.tvd", "demo.xfm"}));
}

}  // namespace
