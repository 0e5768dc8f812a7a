// What the Field Link Designer promises over every link, held against generated ones: random
// schemas (names with blanks at their edges, descending, expression and duplicate-column
// indexes) and random stored values (hand-typed blanks, indexes and fields that are gone).
//   - every stored link opens in the designer;
//   - an unchanged OK changes no byte of the form;
//   - every link the designer writes passes check and reopens with the same joins.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <random>

#include "tests/support/Process.h"

namespace {

using Strings = std::vector<std::string>;
const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

class TGenerator {
 public:
  explicit TGenerator(unsigned Seed) : FRandom(Seed) {}

  int Below(int Count) { return std::uniform_int_distribution<int>(0, Count - 1)(FRandom); }

  // Count of the names, in random order.
  Strings Pick(Strings Names, int Count) {
    std::shuffle(Names.begin(), Names.end(), FRandom);
    Names.resize(static_cast<size_t>(std::min<int>(Count, static_cast<int>(Names.size()))));
    return Names;
  }

  // A field list as a user might type it: sometimes a blank after ";", sometimes a name that is
  // gone.
  std::string List(const Strings& Names, int Count) {
    std::string list;
    const std::string separator = Below(2) ? "; " : ";";
    for (const std::string& name : Pick(Names, Count)) list += (list.empty() ? "" : separator) + name;
    if (Below(5) == 0) list += (list.empty() ? "" : ";") + std::string("Gone");
    return list;
  }

 private:
  std::mt19937 FRandom;
};

std::string Quoted(const std::string& Name) { return "\"" + Name + "\""; }

struct TGeneratedLink {
  std::string Sql;
  std::string Form;
};

TGeneratedLink Generate(TGenerator& Random) {
  const Strings details = Random.Pick({"F1", "F2", " F2", "F3 ", "G"}, 3 + Random.Below(2));
  const Strings masters = Random.Pick({"M1", "M2", " M3", "M4 ", "N"}, 2 + Random.Below(3));
  std::string sql = "CREATE TABLE m (";
  for (const std::string& name : masters) sql += Quoted(name) + (&name == &masters.back() ? ");\n" : ", ");
  sql += "CREATE TABLE d (Id INTEGER PRIMARY KEY";
  for (const std::string& name : details) sql += ", " + Quoted(name);
  sql += ");\n";
  Strings indexes{"PRIMARY"};
  for (int i = 0, n = 2 + Random.Below(3); i < n; ++i) {
    const Strings columns = Random.Pick(details, 1 + Random.Below(2));
    std::string keys;
    switch (Random.Below(4)) {
      case 0:  // plain
        for (const std::string& column : columns) keys += (keys.empty() ? "" : ", ") + Quoted(column);
        break;
      case 1:  // descending first key
        keys = Quoted(columns[0]) + " DESC" + (columns.size() > 1 ? ", " + Quoted(columns[1]) : "");
        break;
      case 2:  // an expression
        keys = "lower(" + Quoted(columns[0]) + ")";
        break;
      default:  // one column twice
        keys = Quoted(columns[0]) + ", " + Quoted(columns[0]);
    }
    indexes.push_back("I" + std::to_string(i));
    sql += "CREATE INDEX " + indexes.back() + " ON d (" + keys + ");\n";
  }

  std::string order;
  switch (Random.Below(3)) {
    case 0:
      order = "    IndexName = '" +
              (Random.Below(5) ? indexes[static_cast<size_t>(Random.Below(static_cast<int>(indexes.size())))]
                               : std::string("Gone")) +
              "'\n";
      break;
    case 1:
      order = "    IndexFieldNames = '" + Random.List(details, 1 + Random.Below(2)) + "'\n";
      break;
    default:
      break;  // the primary key
  }
  const std::string masterFields = Random.List(masters, Random.Below(4));
  std::string form =
      "object Generated: TDataModule\n"
      "  object Db: TQVRDatabase\n    DatabaseName = 'Gen'\n    DatabaseFileName = 'gen.tvd'\n  end\n"
      "  object M: TQVRTable\n    DatabaseName = 'Gen'\n    TableName = 'm'\n  end\n"
      "  object MS: TDataSource\n    DataSet = M\n  end\n"
      "  object D: TQVRTable\n    DatabaseName = 'Gen'\n    TableName = 'd'\n    MasterSource = MS\n" +
      order + (masterFields.empty() ? "" : "    MasterFields = '" + masterFields + "'\n") + "  end\nend\n";
  return {sql, form};
}

// The items of each list and combo box of the last form dumped.
std::map<std::string, Strings> Dumped(const std::string& Output) {
  std::map<std::string, Strings> items;
  for (const std::string& line : SplitLines(Output)) {
    if (line.find(R"("window":"form")") == std::string::npos) continue;
    items.clear();
    const nlohmann::json window = nlohmann::json::parse(line);
    for (const auto& control : window["controls"])
      if (control.contains("items")) items[control["name"]] = control["items"].get<Strings>();
  }
  return items;
}

class LinkPrinciples : public ::testing::Test {
 protected:
  TProcessResult Edit(const std::string& Script) {
    WriteFile(dir / "script.txt", Script);
    return RunProgram(kDesignhost, {"edit", "gen.xfm", "D.MasterFields", "--script", "script.txt"}, dir.Path());
  }

  TTempDir dir;
};

TEST_F(LinkPrinciples, HoldForGeneratedSchemasAndStoredLinks) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    TGenerator random(seed);
    const TGeneratedLink link = Generate(random);
    SCOPED_TRACE("seed " + std::to_string(seed) + "\n" + link.Sql + link.Form);
    std::filesystem::remove(dir / "gen.tvd");
    ExecSql(dir / "gen.tvd", link.Sql);
    WriteFile(dir / "gen.xfm", link.Form);

    // It opens, and OK without a change keeps the form as it was.
    TProcessResult opened = Edit("dump\nclick Button1\n");
    ASSERT_EQ(opened.Status, 0) << opened.Err;
    EXPECT_EQ(ReadFile(dir / "gen.xfm"), link.Form);
    const Strings indexes = Dumped(opened.Out)["IndexList"];
    ASSERT_FALSE(indexes.empty()) << opened.Out;

    // Another index, whose fields the user joins as a leading run to masters of any order.
    const std::string choose =
        "select IndexList #" + std::to_string(random.Below(static_cast<int>(indexes.size()))) + "\n";
    auto offered = Dumped(Edit(choose + "dump\nclose\n").Out);
    Strings masters = offered["MasterList"];
    std::string script = choose;
    const int run = random.Below(static_cast<int>(std::min(offered["DetailList"].size(), masters.size())) + 1);
    for (int i = 0; i < run; ++i) {
      const int master = random.Below(static_cast<int>(masters.size()));
      masters.erase(masters.begin() + master);
      script += "select DetailList #0\nselect MasterList #" + std::to_string(master) + "\nclick AddButton\n";
    }
    TProcessResult written = Edit(script + "dump\nclick Button1\n");
    ASSERT_EQ(written.Status, 0) << script << written.Err;
    const Strings joins = Dumped(written.Out)["BindList"];
    EXPECT_EQ(joins.size(), static_cast<size_t>(run));

    TProcessResult check = RunProgram(kDesignhost, {"check", "gen.xfm"}, dir.Path());
    EXPECT_EQ(check.Status, 0) << ReadFile(dir / "gen.xfm") << check.Out;

    const std::string saved = ReadFile(dir / "gen.xfm");
    TProcessResult reopened = Edit("dump\nclick Button1\n");
    ASSERT_EQ(reopened.Status, 0) << reopened.Err;
    EXPECT_EQ(Dumped(reopened.Out)["BindList"], joins) << saved;
    EXPECT_EQ(ReadFile(dir / "gen.xfm"), saved);
  }
}

}  // namespace
