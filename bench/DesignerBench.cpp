// The Field Link Designer on wide tables: a detail table whose index has n fields and a master
// of n fields. One run opens the designer (binding and loading), joins every field by Add in a
// shuffled order, deletes half of the joins, clears, joins again and presses OK, then changes
// the index. Each phase is timed on its own, beside one bare read of the two tables' structure
// from SQLite in the same run; the counters are the medians over the runs. Each run starts on a new connection,
// so opening reads the structure afresh. DesignerAdd times one Add among many joined lines.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/SqliteFile.h"
#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "fldlinks/QVRLinkFields.h"
#include "host/dataclx/Db.h"
#include "host/rtl/Resources.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/Forms.h"
#include "host/visualclx/StdCtrls.h"
#include "host/visualclx/VisualClasses.h"
#include "tests/support/FieldLinks.h"

namespace fs = std::filesystem;

extern const std::string_view QVRLinkFieldsFormText;

namespace {

// The thread's CPU time: on a shared machine, other processes' work does not count against a
// phase as it would in wall-clock time.
struct Clock {
  using time_point = double;  // milliseconds
  static time_point now() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  }
};

double Since(Clock::time_point start) { return Clock::now() - start; }

double Median(std::vector<double> times) {
  auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
  std::nth_element(times.begin(), middle, times.end());
  return *middle;
}

// The detail table d with the index "wide" over all its n columns and a second index over
// its first column, and the master table m of n columns.
fs::path MakeDatabase(int n) {
  fs::path file =
      fs::temp_directory_path() / ("tirvendal-designer-" + std::to_string(getpid()) + "-" + std::to_string(n) + ".tvd");
  fs::remove(file);
  Db db = OpenSqlite(file, false);
  std::string detail = "CREATE TABLE d (", master = "CREATE TABLE m (", index = "CREATE INDEX wide ON d (";
  for (int i = 0; i < n; ++i) {
    std::string sep = i ? ", " : "";
    detail += sep + "f" + std::to_string(i) + " INTEGER";
    master += sep + "k" + std::to_string(i) + " INTEGER";
    index += sep + "f" + std::to_string(i);
  }
  Exec(db.get(), detail + ")");
  Exec(db.get(), master + ")");
  Exec(db.get(), index + ")");
  Exec(db.get(), "CREATE INDEX first ON d (f0)");
  return file;
}

struct Setup {
  fs::path file;
  TComponent root{nullptr};
  TQVRDatabase* database;
  TQVRTable* detail;
  TQVRTable* master;
  std::unique_ptr<fixtures::TTableLink> link;

  explicit Setup(int n) : file(MakeDatabase(n)) {
    RegisterVisualClasses();
    RegisterRuntimeClasses();
    RegisterModuleResources(&file, {{"tqvrlinkfields", "RCDATA", QVRLinkFieldsFormText}});
    database = new TQVRDatabase(&root);
    database->SetDatabaseName("Wide");
    database->SetDatabaseFileName(file.string());
    master = new TQVRTable(&root);
    master->SetDatabaseName("Wide");
    master->SetTableName("m");
    auto* source = new TDataSource(&root);
    source->SetDataSet(master);
    detail = new TQVRTable(&root);
    detail->SetDatabaseName("Wide");
    detail->SetTableName("d");
    detail->SetMasterSource(source);
    detail->SetIndexName("wide");
    detail->Open();
    link = TQVRBaseFieldLinkProperty::CreateForDataSet<fixtures::TTableLink>(detail);
    link->Table = detail;
  }
  ~Setup() {
    UnregisterModuleResources(&file);
    std::error_code ec;
    fs::remove(file, ec);
  }
};

// Joins random detail fields to random master fields until only Left detail fields are offered.
void AddAll(TQVRLinkFields& form, std::mt19937& random, int Left = 0) {
  while (form.DetailList->Items()->Count() > Left) {
    form.DetailList->SetItemIndex(static_cast<int>(random() % form.DetailList->Items()->Count()));
    form.MasterList->SetItemIndex(static_cast<int>(random() % form.MasterList->Items()->Count()));
    form.AddButtonClick(nullptr);
  }
}

void Designer(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Setup setup(n);
  std::mt19937 random(42);
  std::vector<double> open, add, remove, clear, ok, change, bare;
  for (auto _ : state) {
    // A new connection: the designer reads the structure afresh, as in a new designhost run.
    setup.detail->Close();
    setup.database->CloseConnection();
    auto start = Clock::now();
    setup.detail->Open();
    auto form = CreateForm<TQVRLinkFields>();
    form->SetLinkProperty(setup.link.get());
    form->SetDataSet(setup.detail);
    setup.detail->Open();  // the designer's binding closes it; the link reads the open table
    form->Initialize();
    open.push_back(Since(start));

    start = Clock::now();
    AddAll(*form, random);
    add.push_back(Since(start) / n);

    for (int i = 0, lines = form->BindList->Items()->Count(); i < lines; i += 2) form->BindList->SetSelected(i, true);
    start = Clock::now();
    form->DeleteButtonClick(nullptr);
    remove.push_back(Since(start));

    start = Clock::now();
    form->ClearButtonClick(nullptr);
    clear.push_back(Since(start));

    AddAll(*form, random);
    start = Clock::now();
    form->BitBtn1Click(nullptr);
    ok.push_back(Since(start));

    form->IndexList->SetItemIndex(form->IndexList->Items()->IndexOf("first"));
    start = Clock::now();
    form->IndexListChange(nullptr);
    change.push_back(Since(start));

    start = Clock::now();
    Db db = OpenSqlite(setup.file, true);
    for (const char* sql : {"SELECT * FROM pragma_table_info('d')", "SELECT * FROM pragma_table_info('m')",
                            "SELECT * FROM sqlite_master m, pragma_index_xinfo(m.name) WHERE m.tbl_name = 'd'"}) {
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(db.get(), sql, -1, &stmt, nullptr);
      while (sqlite3_step(stmt) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
      sqlite3_finalize(stmt);
    }
    bare.push_back(Since(start));
    setup.detail->SetIndexName("wide");
  }
  // Medians: a run that the machine's other work slowed down does not move them.
  state.counters["open_ms"] = Median(open);
  state.counters["bare_ms"] = Median(bare);
  state.counters["open_per_bare"] = Median(open) / Median(bare);
  state.counters["add_ms"] = Median(add);
  state.counters["delete_ms"] = Median(remove);
  state.counters["clear_ms"] = Median(clear);
  state.counters["ok_ms"] = Median(ok);
  state.counters["index_ms"] = Median(change);
}
BENCHMARK(Designer)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(25);

// One Add among about n joined lines. The index has n fields (SQLite allows 2000 columns), all
// but kSpare of them joined untimed; each round times the Adds of the kSpare fields left, at
// random places among the lines, then deletes those lines again untimed. add_time is the time
// of one Add.
void DesignerAdd(benchmark::State& state) {
  constexpr int kSpare = 32;
  const int n = static_cast<int>(state.range(0));
  Setup setup(n);
  std::mt19937 random(42);
  auto form = CreateForm<TQVRLinkFields>();
  form->SetLinkProperty(setup.link.get());
  form->SetDataSet(setup.detail);
  setup.detail->Open();
  form->Initialize();
  AddAll(*form, random, kSpare);
  const std::vector<std::string> spare = form->DetailList->Items()->ToVector();
  for (auto _ : state) {
    AddAll(*form, random);
    state.PauseTiming();
    for (int i = 0, lines = form->BindList->Items()->Count(); i < lines; ++i)
      form->BindList->SetSelected(i, std::find(spare.begin(), spare.end(), form->JoinDetailField(i)) != spare.end());
    form->DeleteButtonClick(nullptr);
    state.ResumeTiming();
  }
  state.counters["add_time"] = benchmark::Counter(static_cast<double>(state.iterations()) * kSpare,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(DesignerAdd)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
