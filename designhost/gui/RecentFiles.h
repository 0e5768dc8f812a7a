// TRecentFiles: the forms opened or saved last, newest first, for the File menu. Kept in a
// small text file (one absolute path a line) when the window is given one; only in memory
// otherwise, so pictures and tests leave nothing in the user's settings.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

class TRecentFiles {
 public:
  explicit TRecentFiles(size_t Limit = 8) : FLimit(Limit) {}

  // Reads the list from Store and keeps it there from now on; a missing or unreadable file is
  // an empty list.
  void SetStore(const std::filesystem::path& Store);
  // The user's own list: recent-forms in the designhost folder of the configuration folder.
  static std::filesystem::path DefaultStore();

  const std::vector<std::filesystem::path>& Files() const { return FFiles; }
  // File becomes the newest entry (once).
  void Add(const std::filesystem::path& File);
  void Remove(const std::filesystem::path& File);
  void Clear();

 private:
  // Writes the list to the store; a failure only loses the list, never the form.
  void Write() const;

  size_t FLimit;
  std::filesystem::path FStore;
  std::vector<std::filesystem::path> FFiles;
};
