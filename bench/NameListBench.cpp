// The drop-down name lists on large databases, each beside the bare SQLite queries that the
// same answer needs, and the time to load the design package and run its Register.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/SqliteFile.h"
#include "editors/QVREdit.h"
#include "host/dataclx/Db.h"
#include "host/designide/PackageLoader.h"
#include "host/runtime/Qvrmain.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTables = 10000;
constexpr int kIndexes = 500;

Db OpenReadOnly(const fs::path& file) { return OpenSqlite(file, true); }

// The databases, made once per run in a temporary folder.
struct Fixture {
  TScratchFolder scratch{"tirvendal-bench"};
  fs::path dir = scratch.Path;
  fs::path many = dir / "many.tvd";
  fs::path wide = dir / "wide.tvd";

  Fixture() {
    Db db = OpenSqlite(many, false);
    Exec(db.get(), "BEGIN");
    for (int i = 0; i < kTables; ++i)
      Exec(db.get(), "CREATE TABLE t" + std::to_string(i) + " (id INTEGER PRIMARY KEY, name TEXT)");
    Exec(db.get(), "COMMIT");
    Db w = OpenSqlite(wide, false);
    std::string create = "CREATE TABLE wide (id INTEGER PRIMARY KEY";
    for (int c = 0; c < 50; ++c) create += ", c" + std::to_string(c) + " INTEGER";
    Exec(w.get(), "BEGIN");
    Exec(w.get(), create + ")");
    for (int i = 0; i < kIndexes; ++i) {
      std::string cols = "c" + std::to_string(i % 50);
      if (i % 3 == 0) cols += ", c" + std::to_string((i + 7) % 50);
      if (i % 10 == 1) cols += " DESC";
      Exec(w.get(), "CREATE INDEX i" + std::to_string(i) + " ON wide (" + cols + ")");
    }
    Exec(w.get(), "COMMIT");
  }
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

class TNoDesigner : public IDesigner {
 public:
  explicit TNoDesigner(TComponent* root) : FRoot(root) {}
  void Modified() override {}
  TComponent* Root() const override { return FRoot; }
  void GetComponentNames(TClass, const TGetStrProc&) override {}
  TComponent* GetComponent(const std::string&) override { return nullptr; }

 private:
  TComponent* FRoot;
};

// A form holding a database on File and one closed table of TableName, with the editor
// EditorClass bound to Property of the table.
struct EditorOnTable {
  TComponent root{nullptr};
  TNoDesigner designer{&root};
  TQVRDatabase* database;
  std::unique_ptr<TPropertyEditor> editor;

  EditorOnTable(const fs::path& file, const std::string& tableName, TClass editorClass, const std::string& property) {
    RegisterRuntimeClasses();
    database = new TQVRDatabase(&root);
    database->SetDatabaseName("Bench");
    database->SetDatabaseFileName(file.string());
    auto* table = new TQVRTable(&root);
    table->SetDatabaseName("Bench");
    table->SetTableName(tableName);
    editor = CreatePropertyEditor(editorClass, &designer, {table}, GetPropInfo(table, property));
  }

  size_t Values() {
    std::vector<std::string> values;
    editor->GetValues([&](const std::string& v) { values.push_back(v); });
    return values.size();
  }
};

std::vector<std::string> Column(sqlite3* db, const char* sql, const std::string& bind = {}) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (!bind.empty()) sqlite3_bind_text(stmt, 1, bind.c_str(), static_cast<int>(bind.size()), SQLITE_TRANSIENT);
  std::vector<std::string> out;
  while (sqlite3_step(stmt) == SQLITE_ROW)
    out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
  sqlite3_finalize(stmt);
  return out;
}

void TableNameList(benchmark::State& state) {
  EditorOnTable e(Files().many, "t0", TQVRTableNameProperty::StaticClass(), "TableName");
  for (auto _ : state) benchmark::DoNotOptimize(e.Values());
  state.counters["tables"] = static_cast<double>(e.Values());
}
BENCHMARK(TableNameList)->Unit(benchmark::kMillisecond);

void TableNameBareQuery(benchmark::State& state) {
  Db db = OpenReadOnly(Files().many);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        Column(db.get(),
               "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
               "ORDER BY rowid"));
}
BENCHMARK(TableNameBareQuery)->Unit(benchmark::kMillisecond);

void IndexNameList(benchmark::State& state) {
  EditorOnTable e(Files().wide, "wide", TQVRIndexNameProperty::StaticClass(), "IndexName");
  for (auto _ : state) benchmark::DoNotOptimize(e.Values());
  state.counters["indexes"] = static_cast<double>(e.Values());
}
BENCHMARK(IndexNameList)->Unit(benchmark::kMillisecond);

// As IndexNameList, but each time on a new connection, so nothing read before is reused.
void IndexNameListCold(benchmark::State& state) {
  EditorOnTable e(Files().wide, "wide", TQVRIndexNameProperty::StaticClass(), "IndexName");
  for (auto _ : state) {
    e.database->CloseConnection();
    benchmark::DoNotOptimize(e.Values());
  }
}
BENCHMARK(IndexNameListCold)->Unit(benchmark::kMillisecond);

void IndexFieldNamesList(benchmark::State& state) {
  EditorOnTable e(Files().wide, "wide", TQVRIndexFieldNamesProperty::StaticClass(), "IndexFieldNames");
  for (auto _ : state) benchmark::DoNotOptimize(e.Values());
  state.counters["entries"] = static_cast<double>(e.Values());
}
BENCHMARK(IndexFieldNamesList)->Unit(benchmark::kMillisecond);

// What both index lists need from SQLite: the columns (the primary key among them), the
// indexes in creation order and each index's key columns with their direction.
void ReadIndexesBare(sqlite3* db) {
  benchmark::DoNotOptimize(Column(db, "SELECT name FROM pragma_table_info(?1)", "wide"));
  benchmark::DoNotOptimize(
      Column(db,
             "SELECT m.name || ii.name || ii.desc FROM sqlite_master m, pragma_index_xinfo(m.name) ii "
             "WHERE m.type = 'index' AND m.tbl_name = ?1 AND ii.key ORDER BY m.rowid, ii.seqno",
             "wide"));
}

void IndexBareQueries(benchmark::State& state) {
  Db db = OpenReadOnly(Files().wide);
  for (auto _ : state) ReadIndexesBare(db.get());
}
BENCHMARK(IndexBareQueries)->Unit(benchmark::kMillisecond);

// As IndexBareQueries, each time on a new connection.
void IndexBareQueriesCold(benchmark::State& state) {
  for (auto _ : state) ReadIndexesBare(OpenReadOnly(Files().wide).get());
}
BENCHMARK(IndexBareQueriesCold)->Unit(benchmark::kMillisecond);

void LoadPackageAndRegister(benchmark::State& state) {
  RegisterRuntimeClasses();
  RegisterDataClasses();
  RegisterDesignClasses();
  const std::string file = TIRVENDAL_LIB_DIR "/bpldclTirvendalK3D.so";
  for (auto _ : state) {
    HMODULE module = LoadPackage(file);
    state.PauseTiming();
    UnloadPackage(module);
    state.ResumeTiming();
  }
}
BENCHMARK(LoadPackageAndRegister)->Unit(benchmark::kMicrosecond);

}  // namespace
