// Test support: child processes, temporary folders and small file helpers.
#include "tests/support/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TChildProcess::TChildProcess(const std::string& Program, const std::vector<std::string>& Args, const fs::path& Dir) {
  fs::path out = FCapture / "out", err = FCapture / "err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!Dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, Dir.c_str());
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(Program.c_str()));
  for (const std::string& a : Args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int rc = posix_spawn(&FPid, Program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + Program);
}

TChildProcess::~TChildProcess() {
  if (FPid <= 0) return;
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
}

void TChildProcess::Kill(int Signal) {
  if (FPid > 0) kill(FPid, Signal);
}

TProcessResult TChildProcess::Wait() {
  int status = 0;
  waitpid(FPid, &status, 0);
  return Ended(status);
}

std::optional<TProcessResult> TChildProcess::WaitFor(std::chrono::milliseconds Limit) {
  if (FPid <= 0) return std::nullopt;  // waited for already
  const auto deadline = std::chrono::steady_clock::now() + Limit;
  for (;;) {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) return Ended(status);
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TProcessResult TChildProcess::Ended(int status) {
  FPid = -1;
  TProcessResult result;
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.Out = Slurp(FCapture / "out");
  result.Err = Slurp(FCapture / "err");
  return result;
}

TProcessResult RunProgram(const std::string& Program, const std::vector<std::string>& Args, const fs::path& Dir) {
  return TChildProcess(Program, Args, Dir).Wait();
}

TTempDir::TTempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("tirvendal-test-" + std::to_string(rd()));
    if (fs::create_directory(candidate)) {
      FPath = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}

TTempDir::~TTempDir() {
  std::error_code ec;
  fs::remove_all(FPath, ec);
}

std::string ReadFile(const fs::path& File) { return Slurp(File); }

void WriteFile(const fs::path& File, const std::string& Text) {
  std::ofstream out(File, std::ios::binary | std::ios::trunc);
  out << Text;
}

void ExecSql(const fs::path& File, const std::string& Sql) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open(File.c_str(), &db);
  char* message = nullptr;
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, Sql.c_str(), nullptr, nullptr, &message);
  std::string text = message ? message : "";
  sqlite3_free(message);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("SQL failed on " + File.string() + ": " + text);
}

std::vector<std::string> ListDir(const fs::path& Dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    lines.push_back(Text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}
