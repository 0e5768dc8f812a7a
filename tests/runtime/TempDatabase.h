// Temporary SQLite files for the run-time tests, and a snapshot of a folder that shows whether
// anything in it was created, removed or changed.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "tests/support/Process.h"

// A fresh folder, removed with everything in it at the end of the test.
class TTempFolder {
 public:
  const std::filesystem::path& Path() const { return FDir.Path(); }
  std::string File(const std::string& Name) const { return (FDir / Name).string(); }

  // Creates an SQLite file by running Sql, and closes it again.
  std::string Database(const std::string& Name, const std::string& Sql) const {
    std::string file = File(Name);
    // Test files need no protection against power loss; without syncing they are made quickly.
    ExecSql(file, "PRAGMA synchronous=OFF;" + Sql);
    return file;
  }

  std::string WriteFile(const std::string& Name, const std::string& Content) const {
    std::string file = File(Name);
    ::WriteFile(file, Content);
    return file;
  }

  // Every entry of the folder with its size, modification time and a hash of its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(Path())) {
      struct stat info {};
      stat(entry.path().c_str(), &info);
      std::string bytes = entry.is_regular_file() ? ReadFile(entry.path()) : std::string();
      std::ostringstream state;
      state << info.st_size << " bytes, mtime " << info.st_mtim.tv_sec << '.' << info.st_mtim.tv_nsec << ", hash "
            << std::hash<std::string>()(bytes);
      result[entry.path().filename().string()] = state.str();
    }
    return result;
  }

 private:
  TTempDir FDir;
};
