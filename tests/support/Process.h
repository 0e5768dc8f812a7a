// Running a built program from a test: its exit status and what it printed.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TProcessResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Runs Program with Args in Dir (empty: the current folder), standard input from /dev/null.
TProcessResult RunProgram(const std::string& Program, const std::vector<std::string>& Args,
                          const std::filesystem::path& Dir = {});

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path operator/(const std::string& Name) const { return FPath / Name; }

 private:
  std::filesystem::path FPath;
};

// A program started as RunProgram starts it, left running: it can be killed, and Wait
// answers what RunProgram would. One still running at destruction is killed.
class TChildProcess {
 public:
  TChildProcess(const std::string& Program, const std::vector<std::string>& Args,
                const std::filesystem::path& Dir = {});
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  void Kill(int Signal = SIGKILL);
  TProcessResult Wait();
  // Waits at most Limit for the program to end: what Wait answers, or nothing while it runs on.
  std::optional<TProcessResult> WaitFor(std::chrono::milliseconds Limit);

 private:
  TProcessResult Ended(int Status);

  TTempDir FCapture;
  pid_t FPid = -1;
};

std::string ReadFile(const std::filesystem::path& File);
void WriteFile(const std::filesystem::path& File, const std::string& Text);
// Runs SQL on a new or existing SQLite file; throws std::runtime_error on an error.
void ExecSql(const std::filesystem::path& File, const std::string& Sql);
// The lines of Text, without their line feeds.
std::vector<std::string> SplitLines(const std::string& Text);
// The names of the files in Dir, sorted.
std::vector<std::string> ListDir(const std::filesystem::path& Dir);
