// designhost check on a project of 1,000 forms of 10 tables each against one database, beside
// only reading those forms: the check's own cost over reading is its schema look-ups, which
// are read once per table and shared by every form.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
  fs::path dir = fs::temp_directory_path() / ("tirvendal-checkbench-" + std::to_string(getpid()));
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
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(dir, ec);
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

}  // namespace
