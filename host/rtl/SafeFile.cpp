// Whole-file reads, locks that hold across replacements, and atomic replacements of the
// user's files.
#include "host/rtl/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <thread>
#include <utility>

#include "host/rtl/SysUtils.h"

namespace fs = std::filesystem;

namespace {

std::string Reason(int Error) { return std::strerror(Error); }

std::string Named(const std::string& What, const fs::path& File) { return What + " '" + File.string() + "'"; }

[[noreturn]] void Fail(const std::string& Verb, const std::string& What, const fs::path& File, const std::string& Why) {
  throw EInOutError("Cannot " + Verb + " " + Named(What, File) + ": " + Why);
}

// Closes a descriptor when it goes out of scope.
class TFd {
 public:
  explicit TFd(int Fd = -1) : FFd(Fd) {}
  ~TFd() {
    if (FFd >= 0) ::close(FFd);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return FFd; }
  int Release() { return std::exchange(FFd, -1); }

 private:
  int FFd;
};

void CheckRegular(const struct stat& Info, const std::string& What, const fs::path& File) {
  if (S_ISREG(Info.st_mode)) return;
  Fail("read", What, File, S_ISDIR(Info.st_mode) ? Reason(EISDIR) : "not a regular file");
}

// Opens File for reading without waiting on a pipe or a device, and checks it is a regular file.
int OpenRegular(const fs::path& File, const std::string& What, struct stat& Info) {
  TFd fd(::open(File.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) Fail("open", What, File, Reason(errno));
  if (::fstat(fd.Get(), &Info) != 0) Fail("read", What, File, Reason(errno));
  CheckRegular(Info, What, File);
  return fd.Release();
}

std::string ReadAll(int Fd, const fs::path& File, const std::string& What, size_t Limit) {
  std::string text;
  char buffer[65536];
  while (true) {
    ssize_t got = ::pread(Fd, buffer, sizeof buffer, static_cast<off_t>(text.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("read", What, File, Reason(errno));
    }
    if (got == 0) return text;
    if (text.size() + static_cast<size_t>(got) > Limit)
      Fail("read", What, File, "larger than " + std::to_string(Limit) + " bytes, the most that is read");
    text.append(buffer, static_cast<size_t>(got));
  }
}

const std::string kLeftoverInfix = ".saving-";

// A name for the temporary file of a replacement of Name: hidden, beside it, recognisable.
std::string TemporaryName(const std::string& Name) {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
  std::string name = "." + Name + kLeftoverInfix;
  for (int i = 0; i < 6; ++i) name += kChars[pick(random)];
  return name;
}

// Removes the temporary files that replacements of Name in Dir left when they were killed.
void RemoveLeftoverFiles(const fs::path& Dir, const std::string& Name) {
  const std::string prefix = "." + Name + kLeftoverInfix;
  DIR* dir = ::opendir(Dir.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view entryName = entry->d_name;
    if (entryName.size() == prefix.size() + 6 && entryName.substr(0, prefix.size()) == prefix)
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// A temporary file being written; removed unless it was renamed into place.
class TTemporaryFile {
 public:
  TTemporaryFile(const fs::path& Dir, const std::string& Name, const std::string& What, const fs::path& File) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      fs::path path = Dir / TemporaryName(Name);
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd >= 0) {
        FFd = fd;
        FPath = std::move(path);
        return;
      }
      if (errno != EEXIST) Fail("write", What, File, Reason(errno));
    }
    Fail("write", What, File, "no free name for a temporary file in '" + Dir.string() + "'");
  }
  ~TTemporaryFile() {
    if (FFd >= 0) ::close(FFd);
    if (!FPath.empty()) ::unlink(FPath.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  int Fd() const { return FFd; }
  const fs::path& Path() const { return FPath; }
  // Closes the file; false with errno set when that reports an error of a delayed write.
  bool Close() { return ::close(std::exchange(FFd, -1)) == 0; }
  void Renamed() { FPath.clear(); }

 private:
  int FFd = -1;
  fs::path FPath;
};

}  // namespace

ssize_t TFileCalls::Write(int Fd, const void* Data, size_t Size) { return ::write(Fd, Data, Size); }

int TFileCalls::Sync(int Fd) { return ::fsync(Fd); }

int TFileCalls::Rename(const char* From, const char* To) { return ::rename(From, To); }

std::string ReadRegularFile(const fs::path& File, const std::string& What, size_t Limit) {
  struct stat info {};
  TFd fd(OpenRegular(File, What, info));
  return ReadAll(fd.Get(), File, What, Limit);
}

fs::path FollowLinks(const fs::path& File) {
  fs::path path = File;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::error_code ec;
    fs::path target = fs::read_symlink(path, ec);
    if (ec) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  throw EInOutError("Cannot follow '" + File.string() + "': " + Reason(ELOOP));
}

namespace {

// Beside the whole-file lock (flock) that readers share and a writer holds alone, a writer
// announces its wait with a byte-range lock on one byte of the same file. A reader that
// arrives while a writer waits keeps off the file until the writer is done, so overlapping
// readers cannot keep a writer out for ever. Both kinds of lock belong to the open file and
// go with the process that holds them, however it ends; neither needs a file of its own.
constexpr off_t kWriterWaitsByte = 0;

struct flock WriterWaitsRange(short Type) {
  struct flock range {};
  range.l_type = Type;
  range.l_whence = SEEK_SET;
  range.l_start = kWriterWaitsByte;
  range.l_len = 1;
  return range;
}

// Whether another open file of the form holds a writer's announcement.
bool WriterWaits(int Fd, const std::string& What, const fs::path& File) {
  struct flock probe = WriterWaitsRange(F_WRLCK);
  if (::fcntl(Fd, F_OFD_GETLK, &probe) != 0) Fail("lock", What, File, Reason(errno));
  return probe.l_type != F_UNLCK;
}

// A writer's announcement: a read lock, which any number of waiting writers may hold at once
// and which a file opened for reading may take.
void AnnounceWriter(int Fd, const std::string& What, const fs::path& File) {
  struct flock range = WriterWaitsRange(F_RDLCK);
  while (::fcntl(Fd, F_OFD_SETLK, &range) != 0)
    if (errno != EINTR) Fail("lock", What, File, Reason(errno));
}

// One attempt at the whole-file lock: true when it is held. A reader takes it only while no
// writer waits, and lets it go again when a writer announced itself in between.
bool TryLock(int Fd, TLockKind Kind, const std::string& What, const fs::path& File) {
  if (Kind == TLockKind::Shared && WriterWaits(Fd, What, File)) return false;
  if (::flock(Fd, (Kind == TLockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) Fail("lock", What, File, Reason(errno));
    return false;
  }
  if (Kind == TLockKind::Shared && WriterWaits(Fd, What, File)) {
    ::flock(Fd, LOCK_UN);
    return false;
  }
  return true;
}

}  // namespace

TFileLock::TFileLock(const fs::path& File, const std::string& What, TLockKind Kind, std::chrono::milliseconds Timeout)
    : FFile(File), FWhat(What) {
  // The time counts this command's own wait, however often the file is replaced meanwhile. It
  // starts at the first refusal: a lock taken at once, the rule, never reads the clock.
  std::optional<std::chrono::steady_clock::time_point> deadline;
  auto pause = std::chrono::milliseconds(2);
  while (true) {
    struct stat locked {};
    TFd fd(OpenRegular(File, What, locked));
    if (Kind == TLockKind::Exclusive) AnnounceWriter(fd.Get(), What, File);
    while (!TryLock(fd.Get(), Kind, What, File)) {
      const auto now = std::chrono::steady_clock::now();
      if (!deadline) deadline = now + Timeout;
      if (now >= *deadline)
        Fail("lock", What, File,
             "another command is still working on it (waited " +
                 std::to_string(std::chrono::duration_cast<std::chrono::seconds>(Timeout).count()) + " seconds)");
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(25));
    }
    // The lock counts only when the path still leads to the locked file: a replacement that
    // finished while this one waited has put another file there.
    struct stat current {};
    if (::stat(File.c_str(), &current) != 0) Fail("open", What, File, Reason(errno));
    if (current.st_dev == locked.st_dev && current.st_ino == locked.st_ino) {
      FFd = fd.Release();
      return;
    }
  }
}

TFileLock::~TFileLock() {
  if (FFd >= 0) ::close(FFd);  // closing the last descriptor of the open file releases the lock
}

std::string TFileLock::Read(size_t Limit) const { return ReadAll(FFd, FFile, FWhat, Limit); }

void ReplaceFile(const fs::path& File, std::string_view Text, const std::string& What, bool RemoveLeftovers,
                 TFileCalls* Calls) {
  TFileCalls system;
  if (!Calls) Calls = &system;
  const fs::path target = FollowLinks(File);
  struct stat old {};
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) Fail("write", What, File, Reason(errno));
  if (exists) {
    if (!S_ISREG(old.st_mode)) Fail("write", What, File, "not a regular file");
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) Fail("write", What, File, Reason(errno));
    // The superuser may write any file; a file that grants writing to nobody is still read-only.
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
      Fail("write", What, File, Reason(EACCES) + " (the file is read-only)");
    if (old.st_nlink > 1)
      Fail("write", What, File,
           "it has " + std::to_string(old.st_nlink) +
               " hard links, which replacing it would break; save it under a name of its own");
  }
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::string name = target.filename().string();
  if (RemoveLeftovers) RemoveLeftoverFiles(dir, name);

  TTemporaryFile temporary(dir, name, What, File);
  if (exists) {
    // The owner and the group where the process may set them: the superuser both, the owner a
    // group of its own.
    if (::fchown(temporary.Fd(), old.st_uid, old.st_gid) != 0) (void)!::fchown(temporary.Fd(), -1, old.st_gid);
    if (::fchmod(temporary.Fd(), old.st_mode & 07777) != 0) Fail("write", What, File, Reason(errno));
  } else if (::fchmod(temporary.Fd(), 0666 & ~CurrentUmask()) != 0) {
    Fail("write", What, File, Reason(errno));
  }
  size_t done = 0;
  while (done < Text.size()) {
    ssize_t wrote = Calls->Write(temporary.Fd(), Text.data() + done, Text.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      Fail("write", What, File, Reason(errno));
    }
    if (wrote == 0) Fail("write", What, File, Reason(EIO));
    done += static_cast<size_t>(wrote);
  }
  if (Calls->Sync(temporary.Fd()) != 0) Fail("write", What, File, Reason(errno));
  if (!temporary.Close()) Fail("write", What, File, Reason(errno));
  if (Calls->Rename(temporary.Path().c_str(), target.c_str()) != 0) Fail("replace", What, File, Reason(errno));
  temporary.Renamed();
  // The rename itself reaches the disk with the folder. It has happened either way: a failure
  // here is no reason to report the save as failed.
  TFd folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
}
