// Temporary SQLite files for the run-time tests, and a snapshot of a folder that shows whether
// anything in it was created, removed or changed.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

// A fresh folder, removed with everything in it at the end of the test.
class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvd-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    FPath = pattern;
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

  // Creates an SQLite file by running Sql, and closes it again.
  std::string Database(const std::string& Name, const std::string& Sql) const {
    std::string file = File(Name);
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) ADD_FAILURE() << "cannot create " << file;
    char* error = nullptr;
    // Test files need no protection against power loss; without syncing they are made quickly.
    std::string script = "PRAGMA synchronous=OFF;" + Sql;
    if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      ADD_FAILURE() << "setting up " << file << ": " << (error ? error : "?");
      sqlite3_free(error);
    }
    sqlite3_close(db);
    return file;
  }

  std::string WriteFile(const std::string& Name, const std::string& Content) const {
    std::string file = File(Name);
    std::ofstream(file, std::ios::binary) << Content;
    return file;
  }

  // Every entry of the folder with its size, modification time and a hash of its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(FPath)) {
      struct stat info {};
      stat(entry.path().c_str(), &info);
      std::ostringstream bytes;
      if (entry.is_regular_file()) bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
      std::ostringstream state;
      state << info.st_size << " bytes, mtime " << info.st_mtim.tv_sec << '.' << info.st_mtim.tv_nsec << ", hash "
            << std::hash<std::string>()(bytes.str());
      result[entry.path().filename().string()] = state.str();
    }
    return result;
  }

 private:
  std::filesystem::path FPath;
};
