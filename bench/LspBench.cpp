// designhost lsp, the built program driven through pipes as an editor drives it: completion
// and hover on a table of 2,000 fields beside the in-process work of values for the same
// property; the latency of hover while a form of 1,000 components is being checked; the
// diagnostics after one change beside check of that file; and resident memory over 10,000
// changes of one document.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/SqliteFile.h"
#include "designhost/Check.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"
#include "host/visualclx/forms/FormDocument.h"
#include "tests/designhost/LspClient.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr int kFields = 2000;
constexpr int kComponents = 1000;

void WriteText(const fs::path& File, const std::string& Text) { std::ofstream(File, std::ios::binary) << Text; }

// The wide table's form: a database with a table of 2,000 fields and two indexes, and a form
// of one table on it; and a form of 1,000 table components on a small database.
struct Fixture {
  TScratchFolder scratch{"tirvendal-lspbench"};
  fs::path dir = scratch.Path;
  fs::path wide = dir / "wide.xfm";
  fs::path big = dir / "big" / "big.xfm";  // a workspace of its own
  std::string wideText;
  std::string bigText;

  Fixture() {
    fs::create_directories(dir / "big");
    Db db = OpenSqlite(dir / "wide.tvd", false);
    std::string columns = "id INTEGER PRIMARY KEY";
    for (int f = 1; f < kFields; ++f) columns += ", f" + std::to_string(f) + (f % 2 ? " TEXT" : " INTEGER");
    Exec(db.get(), "CREATE TABLE wide (" + columns +
                       "); CREATE INDEX ByF1 ON wide (f1, f2);"
                       "CREATE INDEX ByF3 ON wide (f3); CREATE TABLE small (id INTEGER PRIMARY KEY, name TEXT);");
    wideText =
        "object Wide: TDataModule\n  object WideDb: TQVRDatabase\n    DatabaseName = 'Wide'\n"
        "    DatabaseFileName = 'wide.tvd'\n  end\n  object WideTable: TQVRTable\n    DatabaseName = 'Wide'\n"
        "    TableName = 'wide'\n    IndexName = 'ByF1'\n    IndexFieldNames = 'f1'\n  end\nend\n";
    WriteText(wide, wideText);
    std::ostringstream text;
    text << "object Big: TDataModule\n  object BigDb: TQVRDatabase\n    DatabaseName = 'Big'\n"
            "    DatabaseFileName = '../wide.tvd'\n  end\n";
    for (int c = 0; c < kComponents; ++c)
      text << "  object T" << c << ": TQVRTable\n    DatabaseName = 'Big'\n    TableName = 'small'\n  end\n";
    text << "end\n";
    bigText = text.str();
    WriteText(big, bigText);
    LoadDesignPackages({});
  }
};

Fixture& Project() {
  static Fixture fixture;
  return fixture;
}

std::string Uri(const fs::path& File) { return "file://" + File.string(); }

// A server on the project with Files open; it takes completion's edit range once for all.
struct Server {
  TLspClient lsp{Project().dir};

  explicit Server(const std::vector<std::pair<fs::path, std::string>>& Files,
                  const fs::path& Workspace = Project().dir) {
    json capabilities = {{"textDocument", {{"completion", {{"completionList", {{"itemDefaults", {"editRange"}}}}}}}}};
    lsp.Request("initialize",
                {{"capabilities", capabilities}, {"workspaceFolders", {{{"uri", Uri(Workspace)}, {"name", "bench"}}}}});
    lsp.Notify("initialized", json::object());
    for (const auto& [file, text] : Files) {
      lsp.Notify("textDocument/didOpen",
                 {{"textDocument", {{"uri", Uri(file)}, {"languageId", "xfm"}, {"version", 1}, {"text", text}}}});
      lsp.Diagnostics(Uri(file));
    }
  }
  json At(const std::string& Method, const fs::path& File, int Line, int Character) {
    return lsp.Request(
        Method, {{"textDocument", {{"uri", Uri(File)}}}, {"position", {{"line", Line}, {"character", Character}}}});
  }
};

// values' own work for IndexName: the form read, the inspector's row asked for its list.
void BM_ValuesInProcess(benchmark::State& state) {
  Fixture& project = Project();
  for (auto _ : state) {
    TFormDocument document(project.wide, TFormDocument::TAccess::ReadOnly);
    TFormDesigner designer(document.Root());
    auto row = FindInspectorRow(designer, {document.Root()->FindComponent("WideTable")}, "IndexName");
    benchmark::DoNotOptimize(InspectorValues(*row));
  }
}
BENCHMARK(BM_ValuesInProcess)->Unit(benchmark::kMillisecond);

void BM_LspCompletionIndexName(benchmark::State& state) {
  Server server({{Project().wide, Project().wideText}});
  for (auto _ : state) benchmark::DoNotOptimize(server.At("textDocument/completion", Project().wide, 8, 16));
}
BENCHMARK(BM_LspCompletionIndexName)->Unit(benchmark::kMillisecond);

void BM_LspCompletionFieldNames(benchmark::State& state) {
  Server server({{Project().wide, Project().wideText}});
  size_t items = 0;
  for (auto _ : state) items = server.At("textDocument/completion", Project().wide, 9, 23)["result"]["items"].size();
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_LspCompletionFieldNames)->Unit(benchmark::kMillisecond);

void BM_LspHoverTableName(benchmark::State& state) {
  Server server({{Project().wide, Project().wideText}});
  for (auto _ : state) benchmark::DoNotOptimize(server.At("textDocument/hover", Project().wide, 7, 18));
}
BENCHMARK(BM_LspHoverTableName)->Unit(benchmark::kMillisecond);

// Hover on the wide table while the big form is being checked after each of its changes: the
// 99th percentile of the answers' latency.
void BM_LspHoverDuringCheck(benchmark::State& state) {
  Fixture& project = Project();
  Server server({{project.wide, project.wideText}, {project.big, project.bigText}});
  std::vector<double> latencies;
  int version = 1;
  for (auto _ : state) {
    json at = {{"line", 2}, {"character", 20}};
    server.lsp.Notify(
        "textDocument/didChange",
        {{"textDocument", {{"uri", Uri(project.big)}, {"version", ++version}}},
         {"contentChanges", {{{"range", {{"start", at}, {"end", at}}}, {"text", version % 2 ? "x" : ""}}}}});
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < end) {
      const auto start = std::chrono::steady_clock::now();
      server.At("textDocument/hover", project.wide, 7, 18);
      latencies.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  std::sort(latencies.begin(), latencies.end());
  state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100];
  state.counters["hovers"] = static_cast<double>(latencies.size());
}
BENCHMARK(BM_LspHoverDuringCheck)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CheckBigForm(benchmark::State& state) {
  for (auto _ : state) {
    TProject project({Project().big.string()});
    benchmark::DoNotOptimize(CheckProject(project));
  }
}
BENCHMARK(BM_CheckBigForm)->Unit(benchmark::kMillisecond);

// From one change of the big form, after a quiet spell, to its diagnostics.
void BM_LspDiagnosticsAfterChange(benchmark::State& state) {
  Fixture& project = Project();
  Server server({{project.big, project.bigText}}, project.big.parent_path());
  int version = 1;
  for (auto _ : state) {
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    state.ResumeTiming();
    json at = {{"line", 0}, {"character", 10}};
    server.lsp.Notify(
        "textDocument/didChange",
        {{"textDocument", {{"uri", Uri(project.big)}, {"version", ++version}}},
         {"contentChanges", {{{"range", {{"start", at}, {"end", at}}}, {"text", version % 2 ? "x" : ""}}}}});
    benchmark::DoNotOptimize(server.lsp.Diagnostics(Uri(project.big)));
  }
}
BENCHMARK(BM_LspDiagnosticsAfterChange)->Unit(benchmark::kMillisecond);

long ResidentKiB(pid_t Pid) {
  std::ifstream status("/proc/" + std::to_string(Pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// 10,000 changes of one line of the wide form: resident memory after them beside after 100.
void BM_LspMemoryOverChanges(benchmark::State& state) {
  Fixture& project = Project();
  for (auto _ : state) {
    Server server({{project.wide, project.wideText}});
    long after100 = 0;
    for (int i = 1; i <= 10000; ++i) {
      json start = {{"line", 9}, {"character", 23}};
      json end = {{"line", 9}, {"character", 24}};
      server.lsp.Notify(
          "textDocument/didChange",
          {{"textDocument", {{"uri", Uri(project.wide)}, {"version", i + 1}}},
           {"contentChanges", {{{"range", {{"start", start}, {"end", end}}}, {"text", i % 2 ? "2" : "1"}}}}});
      if (i == 100) {
        server.lsp.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", Uri(project.wide)}}}});
        after100 = ResidentKiB(server.lsp.Pid());
      }
    }
    server.lsp.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", Uri(project.wide)}}}});
    state.counters["rss_after_100_KiB"] = static_cast<double>(after100);
    state.counters["rss_after_10000_KiB"] = static_cast<double>(ResidentKiB(server.lsp.Pid()));
  }
}
BENCHMARK(BM_LspMemoryOverChanges)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
