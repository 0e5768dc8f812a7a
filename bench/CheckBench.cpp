// designhost check on a project of 1,000 forms of 10 tables each against one database, beside
// only reading those forms: the check's own cost over reading is its schema look-ups, which
// are read once per table and shared by every form. Then how the costs grow: a check of one
// form naming every table of a database of 1,000 or 10,000 tables beside the bare SQLite
// queries that read the same structure set-wise, and reading one form of 10,000 or 100,000
// components.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/SqliteFile.h"
#include "designhost/Check.h"
#include "host/dataclx/Db.h"
#include "host/rtl/Classes.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/VisualClasses.h"
#include "host/visualclx/forms/FormReader.h"

namespace fs = std::filesystem;

namespace {

constexpr int kForms = 1000;
constexpr int kTables = 10;

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

// The project, made once per run in a temporary folder: the database and the data module that
// declares it, and the forms whose tables name it, each with a master table and nine details.
struct Fixture {
  TScratchFolder scratch{"tirvendal-checkbench"};
  fs::path dir = scratch.Path;
  std::vector<std::string> forms;

  Fixture() {
    RegisterRtlClasses();
    RegisterDataClasses();
    RegisterVisualClasses();
    RegisterRuntimeClasses();
    fs::create_directories(dir / "forms");
    Db db = OpenSqlite(dir / "shop.tvd", false);
    std::string schema = "BEGIN;";
    for (int t = 0; t < kTables; ++t) {
      std::string name = "t" + std::to_string(t);
      schema.append("CREATE TABLE ")
          .append(name)
          .append(" (id INTEGER PRIMARY KEY, master INTEGER, name TEXT, added DATE);");
      schema.append("CREATE INDEX ").append(name).append("ByMaster ON ").append(name).append(" (master, name);");
    }
    Exec(db.get(), schema + "COMMIT;");
    WriteText(dir / "shop.xfm",
              "object Shop: TDataModule\n  object ShopDb: TQVRDatabase\n    DatabaseName = 'Shop'\n"
              "    DatabaseFileName = 'shop.tvd'\n  end\nend\n");
    for (int f = 0; f < kForms; ++f) {
      std::ostringstream form;
      form << "object Form" << f << ": TDataModule\n";
      for (int t = 0; t < kTables; ++t) {
        form << "  object T" << t << ": TQVRTable\n    DatabaseName = 'Shop'\n    TableName = 't" << t << "'\n";
        if (t > 0)
          form << "    MasterSource = MasterSource\n    IndexName = 't" << t << "ByMaster'\n    MasterFields = 'id'\n";
        form << "  end\n";
        if (t == 0) form << "  object MasterSource: TDataSource\n    DataSet = T0\n  end\n";
      }
      form << "end\n";
      fs::path file = dir / "forms" / ("form" + std::to_string(f) + ".xfm");
      WriteText(file, form.str());
      forms.push_back(file.string());
    }
  }
};

Fixture& Project() {
  static Fixture fixture;
  return fixture;
}

// Only reading the forms: each file's text into components, as any command reads its form.
void BM_ReadForms(benchmark::State& state) {
  Fixture& project = Project();
  for (auto _ : state) {
    for (const std::string& file : project.forms) {
      std::ifstream in(file, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      std::unique_ptr<TComponent> root = ReadRootComponent(text.str(), file);
      benchmark::DoNotOptimize(root.get());
    }
  }
  state.counters["forms"] = kForms;
}
BENCHMARK(BM_ReadForms)->Unit(benchmark::kMillisecond);

// The whole check of the same forms and the data module that declares their database.
void BM_CheckForms(benchmark::State& state) {
  Fixture& project = Project();
  for (auto _ : state) {
    TProject forms({project.dir.string()});
    std::vector<TFinding> findings = CheckProject(forms);
    if (!findings.empty()) state.SkipWithError(FindingLine(findings.front()).c_str());
  }
  state.counters["forms"] = kForms + 1;
}
BENCHMARK(BM_CheckForms)->Unit(benchmark::kMillisecond);

// A database of Count tables, each with one index, and a form that names every table; made
// once per size.
struct TablesFixture {
  fs::path dir;
  fs::path database;
  std::string form;

  explicit TablesFixture(int Count)
      : dir(Project().dir / ("tables" + std::to_string(Count))), database(dir / "tables.tvd") {
    fs::create_directories(dir);
    Db db = OpenSqlite(database, false);
    std::string schema = "BEGIN;";
    std::ostringstream text;
    text << "object Tables: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'Tables'\n"
            "    DatabaseFileName = 'tables.tvd'\n  end\n";
    for (int t = 0; t < Count; ++t) {
      std::string name = "t" + std::to_string(t);
      schema.append("CREATE TABLE ").append(name).append(" (id INTEGER PRIMARY KEY, name TEXT, added DATE);");
      schema.append("CREATE INDEX ").append(name).append("ByName ON ").append(name).append(" (name);");
      text << "  object T" << t << ": TQVRTable\n    DatabaseName = 'Tables'\n    TableName = '" << name
           << "'\n    IndexName = '" << name << "ByName'\n  end\n";
    }
    Exec(db.get(), schema + "COMMIT;");
    text << "end\n";
    form = (dir / "tables.xfm").string();
    WriteText(form, text.str());
  }
};

TablesFixture& Tables(int Count) {
  static std::map<int, std::unique_ptr<TablesFixture>> made;
  auto& fixture = made[Count];
  if (!fixture) fixture = std::make_unique<TablesFixture>(Count);
  return *fixture;
}

void BM_CheckTables(benchmark::State& state) {
  TablesFixture& tables = Tables(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TProject forms({tables.form});
    std::vector<TFinding> findings = CheckProject(forms);
    if (!findings.empty()) state.SkipWithError(FindingLine(findings.front()).c_str());
  }
}
BENCHMARK(BM_CheckTables)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every table's columns, every index's key columns and the catalogue's SQL, on a new connection.
void BM_BareSetwiseRead(benchmark::State& state) {
  TablesFixture& tables = Tables(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Db db = OpenSqlite(tables.database, true);
    for (const char* sql :
         {"SELECT m.name, x.* FROM sqlite_master m, pragma_table_xinfo(m.name) x WHERE m.type = 'table'",
          "SELECT m.name, x.* FROM sqlite_master m, pragma_index_xinfo(m.name) x WHERE m.type = 'index'",
          "SELECT sql FROM sqlite_master"}) {
      sqlite3_stmt* statement = nullptr;
      sqlite3_prepare_v2(db.get(), sql, -1, &statement, nullptr);
      size_t bytes = 0;
      while (sqlite3_step(statement) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(statement); ++c) bytes += sqlite3_column_bytes(statement, c);
      sqlite3_finalize(statement);
      benchmark::DoNotOptimize(bytes);
    }
  }
}
BENCHMARK(BM_BareSetwiseRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One form of that many components: tables in groups of ten, a master, its data source and
// eight details linked to it.
void BM_ReadLargeForm(benchmark::State& state) {
  Project();  // registers the classes
  const int count = static_cast<int>(state.range(0));
  std::ostringstream text;
  text << "object Large: TDataModule\n";
  for (int i = 0; i < count; i += 10) {
    text << "  object M" << i << ": TQVRTable\n    TableName = 'm'\n  end\n";
    text << "  object S" << i << ": TDataSource\n    DataSet = M" << i << "\n  end\n";
    for (int d = 2; d < 10; ++d)
      text << "  object D" << i + d << ": TQVRTable\n    TableName = 'd'\n    MasterSource = S" << i
           << "\n    MasterFields = 'k'\n  end\n";
  }
  text << "end\n";
  const std::string form = text.str();
  for (auto _ : state) {
    std::unique_ptr<TComponent> root = ReadRootComponent(form, "large.xfm");
    benchmark::DoNotOptimize(root.get());
  }
  state.counters["components"] = count;
}
BENCHMARK(BM_ReadLargeForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
