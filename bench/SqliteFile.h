// The bare SQLite the benchmarks compare against: a connection that closes itself, opened for
// reading or writing, and statements run without results; and the scratch folder their files
// are made in.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

// A folder of the benchmark's own under the temporary folder, named after the process, made at
// once and removed with all it holds when the benchmark ends.
struct TScratchFolder {
  std::filesystem::path Path;

  explicit TScratchFolder(const std::string& Prefix)
      : Path(std::filesystem::temp_directory_path() / (Prefix + "-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(Path);
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
};

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, SqliteCloser>;

// Opens File, creating it unless ReadOnly.
inline Db OpenSqlite(const std::filesystem::path& File, bool ReadOnly) {
  sqlite3* raw = nullptr;
  int flags = ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  int result = sqlite3_open_v2(File.c_str(), &raw, flags, nullptr);
  Db db(raw);  // closed also when opening failed
  if (result != SQLITE_OK) throw std::runtime_error("Cannot open " + File.string());
  return db;
}

inline void Exec(sqlite3* Db, const std::string& Sql) {
  if (sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(Db));
}
