// Reading and replacing the user's files so that none is ever left half written: a file read
// whole only when it is a regular file of reasonable size, an advisory lock on a file that
// holds across the file's replacement, and a replacement that is atomic and keeps the file's
// symbolic links, permission bits, owner and group.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Reads File whole. What names the file in messages ("form file", "script"). Raises
// EInOutError naming the file and the reason when it cannot be opened or read, is no regular
// file (a folder, a device, a pipe) or holds more than Limit bytes.
std::string ReadRegularFile(const std::filesystem::path& File, const std::string& What, size_t Limit);

// The path File leads to once every symbolic link on the way is followed; File itself when
// it does not exist. Raises EInOutError for a loop of links.
std::filesystem::path FollowLinks(const std::filesystem::path& File);

enum class TLockKind { Shared, Exclusive };

// An advisory lock (flock) on the file at a path, held until destruction. A replacement
// renames a new file over the path, so a lock taken on the file that was there before is
// no lock on the path any more: after locking, the path is checked to still lead to the
// locked file, and when it does not the lock is taken again on the file that is there now.
// While a process holds the exclusive lock of the file at the path, no other process is
// between reading and replacing it. A writer that waits is served before the readers that
// come after it, so readers that overlap each other cannot keep it out.
class TFileLock {
 public:
  // Opens and locks the regular file File leads to, waiting at most Timeout for other
  // holders (the time counts this lock's own wait). Raises EInOutError naming the file (with
  // What) and the reason when it cannot be opened, is no regular file, or is still locked when
  // Timeout has passed.
  TFileLock(const std::filesystem::path& File, const std::string& What, TLockKind Kind,
            std::chrono::milliseconds Timeout);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  // Reads the locked file whole, as ReadRegularFile does.
  std::string Read(size_t Limit) const;

 private:
  std::filesystem::path FFile;
  std::string FWhat;
  int FFd = -1;
};

// The system calls that a replacement makes, so that a test can make each one fail.
class TFileCalls {
 public:
  virtual ~TFileCalls() = default;
  virtual ssize_t Write(int Fd, const void* Data, size_t Size);
  virtual int Sync(int Fd);
  virtual int Rename(const char* From, const char* To);
};

// Replaces the contents of File with Text atomically: at every moment, even when the process
// is killed, File holds its old text or the new one, whole. The text goes to a temporary file
// created afresh (never through an existing name) beside the file that File leads to, which
// takes the old file's permission bits (and its owner and group where the process may set
// them), is synced to disk and renamed over it; then the folder is synced. A symbolic link
// stays a link. A file that its user may not write, or that has other hard links (which a
// replacement would break), is refused. On every failure the temporary file is removed and
// EInOutError names File and the system's reason. With RemoveLeftovers (for a caller holding
// the file's exclusive TFileLock) the temporary files of replacements that were killed before
// they were done are removed as well. Calls nil: the system's own.
void ReplaceFile(const std::filesystem::path& File, std::string_view Text, const std::string& What,
                 bool RemoveLeftovers, TFileCalls* Calls = nullptr);
