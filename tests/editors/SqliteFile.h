// Writing SQLite database files for tests. The test programs do not link SQLite themselves;
// the run-time library brings it into the process, and its entry points are found there.
#pragma once

#include <dlfcn.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace sqlite_file {

template <class F>
F Entry(const char* name) {
  auto f = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
  if (!f) throw std::runtime_error(std::string("SQLite is not loaded: ") + name);
  return f;
}

// Creates (or extends) the database file Path by running Sql.
inline void Create(const std::string& Path, const std::string& Sql) {
  auto open = Entry<decltype(&sqlite3_open)>("sqlite3_open");
  auto exec = Entry<decltype(&sqlite3_exec)>("sqlite3_exec");
  auto close = Entry<decltype(&sqlite3_close)>("sqlite3_close");
  auto errmsg = Entry<decltype(&sqlite3_errmsg)>("sqlite3_errmsg");
  sqlite3* db = nullptr;
  int rc = open(Path.c_str(), &db);
  if (rc == SQLITE_OK) rc = exec(db, Sql.c_str(), nullptr, nullptr, nullptr);
  std::string message = rc == SQLITE_OK ? "" : (db ? errmsg(db) : "out of memory");
  close(db);
  if (rc != SQLITE_OK) throw std::runtime_error(Path + ": " + message);
}

}  // namespace sqlite_file
