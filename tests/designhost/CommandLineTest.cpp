// designhost's command line as a user meets it: help and version, usage errors that name the
// nearest valid word, the JSON and escaped text listings, errors that put the place first.
#include <gtest/gtest.h>

#include <cctype>
#include <nlohmann/json.hpp>

#include "tests/support/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

TProcessResult Host(const std::vector<std::string>& args, const fs::path& dir = {}) {
  return RunProgram(kDesignhost, args, dir);
}

// The first words of the entries of a help text's section ("Commands:").
std::vector<std::string> SectionWords(const std::string& help, const std::string& title) {
  std::vector<std::string> words;
  bool in = false;
  for (const std::string& line : SplitLines(help)) {
    if (line == title) {
      in = true;
    } else if (line.empty()) {
      in = false;
    } else if (in && line.size() > 2 && line[2] != ' ') {
      words.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return words;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Host({"new-demo", dir.Path().string()}).Status, 0);
    form = (dir / "demo.xfm").string();
  }

  TTempDir dir;
  std::string form;
};

TEST_F(CommandLine, HelpVersionAndEveryCommandsOwnHelp) {
  TProcessResult version = Host({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, "designhost " TIRVENDAL_VERSION "\n");

  TProcessResult help = Host({"--help"});
  ASSERT_EQ(help.Status, 0) << help.Err;
  EXPECT_EQ(help.Out.rfind("Usage: designhost [--package FILE]... COMMAND [ARGS]...\n", 0), 0u) << help.Out;
  EXPECT_EQ(Host({"help"}).Out, help.Out);
  std::vector<std::string> commands = SectionWords(help.Out, "Commands:");
  for (const char* expected :
       {"palette", "package-info", "properties", "values", "set", "edit", "new-demo", "gui", "help"})
    EXPECT_NE(std::find(commands.begin(), commands.end(), expected), commands.end()) << expected << "\n" << help.Out;

  for (const std::string& command : commands) {
    TProcessResult own = Host({command, "--help"});
    EXPECT_EQ(own.Status, 0) << command << own.Err;
    EXPECT_EQ(own.Out, Host({"help", command}).Out) << command;
    EXPECT_EQ(own.Out.rfind("Usage: designhost " + command, 0), 0u) << own.Out;
    EXPECT_NE(own.Out.find("\nExit status:\n  0  "), std::string::npos) << own.Out;
    EXPECT_NE(own.Out.find("\nExample"), std::string::npos) << own.Out;
    // Every option the help lists is one the command takes, with a value where it names one.
    for (const std::string& line : SplitLines(own.Out.substr(own.Out.find("\nOptions:\n")))) {
      if (!line.starts_with("  -")) continue;
      std::string entry = line.substr(2, line.find("  ", 2) - 2);
      std::vector<std::string> args = {command, entry.substr(0, entry.find_first_of(", "))};
      if (const std::string last = entry.substr(entry.rfind(' ') + 1); last != entry && !last.starts_with("-"))
        args.push_back("1");  // a value a file name, a number or a list option takes
      args.push_back("--help");
      EXPECT_EQ(Host(args).Status, 0) << command << " " << entry;
    }
  }
  // The scripted user's language and the Field Link Designer's control names are in edit's help.
  std::string edit = Host({"help", "edit"}).Out;
  for (const char* word : {"click NAME", "answer BUTTON", "IndexList", "DetailList", "MasterList", "AddButton",
                           "BindList", "Button1", "OK (the default button)"})
    EXPECT_NE(edit.find(word), std::string::npos) << word;
}

TEST_F(CommandLine, UsageErrorsSayWhatWasWrongAndTheNearestValidWord) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"palete"}, "designhost: unknown command 'palete'; did you mean 'palette'?\n"},
      {{"hlep"}, "unknown command 'hlep'; did you mean 'help'?\n"},
      {{"new-dmeo"}, "unknown command 'new-dmeo'; did you mean 'new-demo'?\n"},
      {{"xyzzy"}, "designhost: unknown command 'xyzzy'\n"},
      {{"help", "palete"}, "designhost help: no command 'palete'; did you mean 'palette'?\n"},
      {{"palette", "--jsn"}, "designhost palette: unknown option '--jsn'; did you mean '--json'?\n"},
      {{"--pakage", "x.so", "palette"}, "designhost: unknown option '--pakage'; did you mean '--package'?\n"},
      {{"values", "--rwa", form, "Orders.TableName"}, "unknown option '--rwa'; did you mean '--raw'?\n"},
      {{}, "designhost: a command is required\n"},
      {{"properties", form}, "Usage: designhost properties [--json] FORM SEL\n"},
      {{"palette", "extra"}, "designhost palette: "},
      // A word that names another command is an argument like any other, not a second command.
      {{"values", form, "Orders.IndexName", "palette"}, "designhost values: "},
      {{"set", form, "Orders.IndexName", "ByCustNo", "palette"}, "designhost set: "},
      {{"set", form, "Nobody.TableName", "x"}, "designhost set: no component 'Nobody' in " + form + "\n"},
      {{"set", form, "Customers,Orders.Name", "Foo"},
       "designhost set: several components cannot get one name: Customers,Orders would all be named alike\n"},
  };
  const std::string before = ReadFile(form);
  for (const Case& c : cases) {
    TProcessResult r = Host(c.args);
    EXPECT_EQ(r.Status, 2) << c.message;
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
  }
  EXPECT_EQ(ReadFile(form), before);
  // The program's options may follow the command.
  TProcessResult late = Host({"palette", "--package", (dir / "missing.so").string()});
  EXPECT_EQ(late.Status, 1);
  EXPECT_NE(late.Err.find("missing.so"), std::string::npos) << late.Err;
}

TEST_F(CommandLine, ListingsInJsonAndInTextThatKeepsOneRecordALine) {
  ExecSql(dir / "odd.tvd", "CREATE TABLE \"a\tb\" (x); CREATE TABLE \"c\\d\" (y); CREATE TABLE \"e\nf\" (z);");
  WriteFile(dir / "odd.xfm",
            "object M: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'Odd'\n"
            "    DatabaseFileName = 'odd.tvd'\n  end\n"
            "  object T: TQVRTable\n    DatabaseName = 'Odd'\n    TableName = 'a'#9'b'\n  end\nend\n");
  const std::string odd = (dir / "odd.xfm").string();

  TProcessResult text = Host({"properties", odd, "T"});
  ASSERT_EQ(text.Status, 0) << text.Err;
  EXPECT_NE(text.Out.find("TableName\ta\\tb\tTQVRTableNameProperty\tpaValueList,paMultiSelect,paSortList\n"),
            std::string::npos)
      << text.Out;
  TProcessResult json = Host({"properties", "--json", odd, "T"});
  ASSERT_EQ(json.Status, 0) << json.Err;
  const auto textRows = SplitLines(text.Out);
  const auto jsonRows = SplitLines(json.Out);
  ASSERT_EQ(jsonRows.size(), textRows.size());
  for (size_t i = 0; i < textRows.size(); ++i) {
    EXPECT_EQ(std::count(textRows[i].begin(), textRows[i].end(), '\t'), 3) << textRows[i];
    auto row = nlohmann::json::parse(jsonRows[i]);
    EXPECT_EQ(textRows[i].substr(0, textRows[i].find('\t')), row["name"]);
    std::string attributes;
    for (const auto& name : row["attributes"]) attributes += (attributes.empty() ? "" : ",") + name.get<std::string>();
    EXPECT_TRUE(textRows[i].ends_with("\t" + row["editor"].get<std::string>() + "\t" + attributes)) << textRows[i];
    if (row["name"] == "TableName") {
      EXPECT_EQ(row["value"], "a\tb");
    }
  }

  TProcessResult values = Host({"values", odd, "T.TableName"});
  EXPECT_EQ(values.Out, "a\\tb\nc\\\\d\ne\\nf\n");
  TProcessResult jsonValues = Host({"values", "--json", odd, "T.TableName"});
  EXPECT_EQ(jsonValues.Out, "\"a\\tb\"\n\"c\\\\d\"\n\"e\\nf\"\n");

  // links: the path and the paired field names too, in text; as they are in JSON.
  WriteFile(dir / "o\td.xfm",
            "object M: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'Odd'\n"
            "    DatabaseFileName = 'odd.tvd'\n  end\n"
            "  object T: TQVRTable\n    DatabaseName = 'Odd'\n    TableName = 'a'#9'b'\n  end\n"
            "  object S: TDataSource\n    DataSet = T\n  end\n"
            "  object D: TQVRTable\n    DatabaseName = 'Odd'\n    TableName = 'c\\d'\n    MasterSource = S\n"
            "    IndexFieldNames = 'y'#9'1;y\\2'\n    MasterFields = 'x'#10'1;x2'\n  end\nend\n");
  TProcessResult links = Host({"links", "o\td.xfm"}, dir.Path());
  EXPECT_EQ(links.Status, 0) << links.Err;
  EXPECT_EQ(links.Out, "o\\td.xfm\tD\tT\ty\\t1=x\\n1;y\\\\2=x2\n");
  TProcessResult jsonLinks = Host({"links", "--json", "o\td.xfm"}, dir.Path());
  EXPECT_NE(
      jsonLinks.Out.find(R"({"file":"o\td.xfm","detail":"D","detailTable":"c\\d",)"
                         R"("master":"T","masterTable":"a\tb","index":"","pairs":[["y\t1","x\n1"],["y\\2","x2"]]})"),
      std::string::npos)
      << jsonLinks.Out;

  TProcessResult palette = Host({"palette", "--json"});
  ASSERT_EQ(palette.Status, 0) << palette.Err;
  EXPECT_EQ(palette.Out,
            "{\"page\":\"Tirvendal\",\"class\":\"TQVRTable\"}\n"
            "{\"page\":\"Tirvendal\",\"class\":\"TQVRDatabase\"}\n");

  TProcessResult info = Host({"package-info", "--json"});
  ASSERT_EQ(info.Status, 0) << info.Err;
  auto package = nlohmann::json::parse(info.Out);
  EXPECT_EQ(package["name"], "dclTirvendalK3D");
  std::vector<std::string> requires_;
  for (const std::string& line : SplitLines(Host({"package-info"}).Out))
    if (line.starts_with("requires: ")) requires_.push_back(line.substr(10));
  EXPECT_EQ(package["requires"].get<std::vector<std::string>>(), requires_);
  EXPECT_FALSE(package["units"].empty());
  EXPECT_EQ(package["resources"][0]["name"], "tqvrlinkfields");
}

TEST_F(CommandLine, ErrorsPutThePlaceFirstAndFileErrorsTheSystemsReason) {
  WriteFile(dir / "bad.xfm", "object M: TDataModule\n  object T: TQVRTable\n    Foo = 1\n  end\nend\n");
  TProcessResult bad = Host({"properties", "bad.xfm", "T"}, dir.Path());
  EXPECT_EQ(bad.Status, 1);
  EXPECT_EQ(bad.Err, "bad.xfm:3: error: EFormError: TQVRTable has no property 'Foo'\n");

  TProcessResult missing = Host({"properties", "none.xfm", "T"}, dir.Path());
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Err, "error: EInOutError: Cannot open form file 'none.xfm': No such file or directory\n");
  fs::create_directory(dir / "folder.xfm");
  TProcessResult folder = Host({"properties", "folder.xfm", "T"}, dir.Path());
  EXPECT_EQ(folder.Status, 1);
  EXPECT_EQ(folder.Err, "error: EInOutError: Cannot read form file 'folder.xfm': Is a directory\n");

  WriteFile(dir / "script.txt", "# a control the designer does not have\nclick Nothing\n");
  TProcessResult script = Host({"edit", "demo.xfm", "Orders.MasterFields", "--script", "script.txt"}, dir.Path());
  EXPECT_EQ(script.Status, 3);
  EXPECT_EQ(script.Err.rfind("script.txt:2: error: EScriptError: ", 0), 0u) << script.Err;
  TProcessResult noScript = Host({"edit", "demo.xfm", "Orders.MasterFields", "--script", "none.txt"}, dir.Path());
  EXPECT_EQ(noScript.Status, 1);
  EXPECT_EQ(noScript.Err, "error: EInOutError: Cannot open script 'none.txt': No such file or directory\n");

  // On a read-only file system new-demo names the file the user asked for, not its temporary.
  fs::create_directories(dir / "ro" / "demo");
  TProcessResult readOnly =
      RunProgram("/usr/bin/unshare", {"-rm", "sh", "-c",
                                      R"(mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && cd "$1" && )"
                                      R"(exec "$2" new-demo demo)",
                                      "sh", (dir / "ro").string(), kDesignhost});
  if (!readOnly.Err.starts_with("error: ")) GTEST_SKIP() << "no read-only mount here: " << readOnly.Err;
  EXPECT_EQ(readOnly.Status, 1);
  EXPECT_EQ(readOnly.Err, "error: EInOutError: Cannot write demo database 'demo/demo.tvd': Read-only file system\n");
}

// What a new user mistypes: a name near a valid one, arguments in another order, a property and
// its value as one word, a value off the list, a value that starts with '-'.
TEST_F(CommandLine, MistakesAreAnsweredWithTheNearestNameAndWhatToTypeInstead) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  WriteFile(dir / "ok.txt", "click OK\n");
  const std::string before = ReadFile(form);
  const std::vector<Case> refused = {
      {{"properties", "./demo.xfm", "Order"},
       2,
       "designhost properties: no component 'Order' in ./demo.xfm; did you mean 'Orders'?\n"},
      {{"values", "demo.xfm", "Customers,Ordres.TableName"},
       2,
       "no component 'Ordres' in demo.xfm; did you mean 'Orders'?\n"},
      {{"values", "demo.xfm", "Orders.IndexNam"},
       2,
       "designhost values: the inspector shows no property 'IndexNam' for Orders; did you mean 'IndexName'?\n"},
      {{"properties", "Orders", "demo.xfm"},
       2,
       "designhost properties: the form comes first; type: designhost properties demo.xfm Orders\n"},
      {{"set", "Orders.IndexName", "x y", "demo.xfm"},
       2,
       "designhost set: the form comes first; type: designhost set demo.xfm Orders.IndexName 'x y'\n"},
      {{"set", "demo.xfm", "Orders.IndexName=-x"},
       2,
       "designhost set: the property and its value are two words; type: designhost set demo.xfm Orders.IndexName -- "
       "-x\n"},
      {{"edit", "demo.xfm", "Orders.MasterFields", "--script", "ok.txt"},
       3,
       "ok.txt:1: error: EScriptError: no control named 'OK'; did you mean 'Button1' (OK)?\n"},
  };
  for (const Case& c : refused) {
    TProcessResult r = Host(c.args, dir.Path());
    EXPECT_EQ(r.Status, c.status) << c.err;
    EXPECT_NE(r.Err.find(c.err), std::string::npos) << r.Err;
  }
  EXPECT_EQ(ReadFile(form), before);

  // A value off the list is saved with a warning; after '--' a value may start with '-'.
  TProcessResult offList = Host({"set", "demo.xfm", "Orders.IndexName", "ByCustomr"}, dir.Path());
  EXPECT_EQ(offList.Status, 0);
  EXPECT_EQ(offList.Err, "warning: Orders.IndexName: 'ByCustomr' is not in the list; did you mean 'ByCustomer'?\n");
  EXPECT_NE(ReadFile(form).find("IndexName = 'ByCustomr'"), std::string::npos);
  TProcessResult listed = Host({"set", "demo.xfm", "Orders.IndexName", "bycustomer"}, dir.Path());
  EXPECT_EQ(listed.Status, 0);
  EXPECT_EQ(listed.Err, "");
  TProcessResult dashed = Host({"set", "demo.xfm", "Orders.TableName", "--", "-weird"}, dir.Path());
  EXPECT_EQ(dashed.Status, 0) << dashed.Err;
  EXPECT_EQ(dashed.Err, "warning: Orders.TableName: '-weird' is not in the list\n");
  EXPECT_NE(ReadFile(form).find("TableName = '-weird'"), std::string::npos);
}

TEST_F(CommandLine, NewDemoForceReplacesOnlyTheDemoFiles) {
  const std::string fresh = ReadFile(form);
  ASSERT_EQ(Host({"set", form, "Orders.IndexName", "ByCustomer"}).Status, 0);
  TProcessResult refused = Host({"new-demo", dir.Path().string()});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("already exists; it is not overwritten without --force"), std::string::npos)
      << refused.Err;
  EXPECT_NE(ReadFile(form), fresh);
  TProcessResult forced = Host({"new-demo", "--force", dir.Path().string()});
  ASSERT_EQ(forced.Status, 0) << forced.Err;
  EXPECT_EQ(ReadFile(form), fresh);
  EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"demo.tvd", "demo.xfm"}));
  // A folder in the way is not removed.
  TTempDir other;
  fs::create_directory(other / "demo.xfm");
  TProcessResult folder = Host({"new-demo", "--force", other.Path().string()});
  EXPECT_EQ(folder.Status, 1);
  EXPECT_NE(folder.Err.find("not a regular file"), std::string::npos) << folder.Err;
  EXPECT_EQ(ListDir(other.Path()), (std::vector<std::string>{"demo.xfm"}));
}

}  // namespace
