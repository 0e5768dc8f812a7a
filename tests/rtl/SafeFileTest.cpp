// Whole-file reads, locks across replacements and atomic replacements: what reaches the disk
// when a step fails, and what a replacement keeps of the file it replaces.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <future>
#include <thread>

#include "host/rtl/SafeFile.h"
#include "host/rtl/SysUtils.h"
#include "tests/support/Process.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Fails one system call of a replacement with an error of its own.
class TFailingCalls : public TFileCalls {
 public:
  enum class TStep { Write, Sync, Rename };
  TFailingCalls(TStep Step, int Error) : FStep(Step), FError(Error) {}
  ssize_t Write(int Fd, const void* Data, size_t Size) override {
    // Half the text reaches the file before the disk fills up.
    if (FStep != TStep::Write) return TFileCalls::Write(Fd, Data, Size);
    if (Size > 1 && !FWroteHalf) {
      FWroteHalf = true;
      return TFileCalls::Write(Fd, Data, Size / 2);
    }
    return Fail();
  }
  int Sync(int Fd) override { return FStep == TStep::Sync ? static_cast<int>(Fail()) : TFileCalls::Sync(Fd); }
  int Rename(const char* From, const char* To) override {
    return FStep == TStep::Rename ? static_cast<int>(Fail()) : TFileCalls::Rename(From, To);
  }

 private:
  ssize_t Fail() const {
    errno = FError;
    return -1;
  }
  TStep FStep;
  int FError;
  bool FWroteHalf = false;
};

std::string ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const EInOutError& e) {
    return e.Message();
  }
  return "(no error)";
}

struct stat StatOf(const fs::path& File) {
  struct stat info {};
  EXPECT_EQ(::stat(File.c_str(), &info), 0) << File;
  return info;
}

}  // namespace

TEST(SafeFile, AFailingStepLeavesTheOriginalWholeAndNothingBeside) {
  TTempDir dir;
  const fs::path file = dir / "form.xfm";
  WriteFile(file, "old text\n");
  ::chmod(file.c_str(), 0640);
  const struct stat before = StatOf(file);
  const std::string big(200000, 'x');
  struct Case {
    TFailingCalls::TStep Step;
    int Error;
    std::string Expect;
  };
  for (const Case& c :
       {Case{TFailingCalls::TStep::Write, ENOSPC,
             "Cannot write form file '" + file.string() + "': No space left on device"},
        Case{TFailingCalls::TStep::Sync, EIO, "Cannot write form file '" + file.string() + "': Input/output error"},
        Case{TFailingCalls::TStep::Rename, EXDEV,
             "Cannot replace form file '" + file.string() + "': Invalid cross-device link"}}) {
    TFailingCalls calls(c.Step, c.Error);
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(file, big, "form file", true, &calls); }), c.Expect);
    EXPECT_EQ(ReadFile(file), "old text\n");
    EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"form.xfm"}));
    const struct stat after = StatOf(file);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  }
  ReplaceFile(file, big, "form file", true);
  EXPECT_EQ(ReadFile(file), big);
  EXPECT_EQ(StatOf(file).st_mode & 07777, 0640u);
}

TEST(SafeFile, AReplacementKeepsLinksAndPermissionsAndRefusesWhatItWouldDamage) {
  TTempDir dir;
  fs::create_directory(dir / "real");
  const fs::path target = dir / "real" / "form.xfm";
  WriteFile(target, "one");
  ::chmod(target.c_str(), 0600);
  fs::create_symlink("real/form.xfm", dir / "link.xfm");

  ReplaceFile(dir / "link.xfm", "two", "form file", true);
  EXPECT_TRUE(fs::is_symlink(dir / "link.xfm"));
  EXPECT_EQ(ReadFile(target), "two");
  EXPECT_EQ(StatOf(target).st_mode & 07777, 0600u);
  EXPECT_EQ(ListDir(dir / "real"), (std::vector<std::string>{"form.xfm"}));

  // Read-only, even for the superuser, and hard-linked files are refused as they are.
  ::chmod(target.c_str(), 0444);
  EXPECT_NE(ErrorOf([&] { ReplaceFile(target, "three", "form file", true); }).find("Permission denied"),
            std::string::npos);
  ::chmod(target.c_str(), 0644);
  fs::create_hard_link(target, dir / "other.xfm");
  EXPECT_NE(ErrorOf([&] { ReplaceFile(dir / "link.xfm", "three", "form file", true); }).find("2 hard links"),
            std::string::npos);
  EXPECT_EQ(ReadFile(dir / "other.xfm"), "two");
  EXPECT_EQ(ReadFile(target), "two");
  fs::remove(dir / "other.xfm");

  // A killed replacement left its temporary file; the next one under the lock removes it, and
  // leaves names that merely look alike.
  WriteFile(dir / "real" / ".form.xfm.saving-AbC123", "half");
  WriteFile(dir / "real" / ".form.xfm.saving-mine", "the user's");
  ReplaceFile(target, "three", "form file", false);
  EXPECT_EQ(ListDir(dir / "real").size(), 3u);
  ReplaceFile(target, "four", "form file", true);
  EXPECT_EQ(ListDir(dir / "real"), (std::vector<std::string>{".form.xfm.saving-mine", "form.xfm"}));

  // A symbolic link planted where a save once wrote its temporary file is never written through.
  WriteFile(dir / "victim", "untouched");
  fs::create_symlink(dir / "victim", dir / "real" / "form.xfm.saving");
  ReplaceFile(target, "five", "form file", false);
  EXPECT_EQ(ReadFile(dir / "victim"), "untouched");
  EXPECT_EQ(ReadFile(target), "five");
  EXPECT_FALSE(fs::is_symlink(target));
}

TEST(SafeFile, OnlyRegularFilesAreReadAndNothingWaits) {
  TTempDir dir;
  fs::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  WriteFile(dir / "big", std::string(1001, 'b'));
  WriteFile(dir / "full", std::string(1000, 'f'));
  EXPECT_EQ(ErrorOf([&] { ReadRegularFile(dir / "folder", "form file", 1000); }),
            "Cannot read form file '" + (dir / "folder").string() + "': Is a directory");
  EXPECT_EQ(ErrorOf([&] { ReadRegularFile(dir / "pipe", "script", 1000); }),
            "Cannot read script '" + (dir / "pipe").string() + "': not a regular file");
  EXPECT_NE(ErrorOf([&] { ReadRegularFile("/dev/zero", "form file", 1000); }).find("not a regular file"),
            std::string::npos);
  EXPECT_NE(ErrorOf([&] { ReadRegularFile(dir / "big", "form file", 1000); }).find("larger than 1000 bytes"),
            std::string::npos);
  EXPECT_EQ(ReadRegularFile(dir / "full", "form file", 1000), std::string(1000, 'f'));  // the most is read whole
  EXPECT_EQ(ErrorOf([&] { ReadRegularFile(dir / "none", "form file", 1000); }),
            "Cannot open form file '" + (dir / "none").string() + "': No such file or directory");
  EXPECT_EQ(ErrorOf([&] { TFileLock(dir / "pipe", "form file", TLockKind::Shared, 1s); }),
            "Cannot read form file '" + (dir / "pipe").string() + "': not a regular file");
}

TEST(SafeFile, ALockHoldsAcrossTheReplacementItGuards) {
  TTempDir dir;
  const fs::path file = dir / "form.xfm";
  WriteFile(file, "first");
  auto holder = std::make_unique<TFileLock>(file, "form file", TLockKind::Exclusive, 1s);

  // A second command gives up after its time, naming the file.
  EXPECT_NE(ErrorOf([&] {
              TFileLock(file, "form file", TLockKind::Shared, 50ms);
            }).find("Cannot lock form file '" + file.string() + "': another command is still working on it"),
            std::string::npos);

  // One that waits gets the lock once the holder has replaced the file and let go, and it is
  // the lock of the new file, which it reads.
  auto waiter = std::async(std::launch::async, [&] {
    TFileLock lock(file, "form file", TLockKind::Exclusive, 5s);
    return lock.Read(1000);
  });
  std::this_thread::sleep_for(100ms);
  ReplaceFile(file, "second", "form file", true);
  holder.reset();
  EXPECT_EQ(waiter.get(), "second");
}

TEST(SafeFile, AWaitingWriterGoesBeforeReadersThatComeAfterIt) {
  TTempDir dir;
  const fs::path file = dir / "form.xfm";
  WriteFile(file, "text");
  // Readers that hand the file on to each other, each coming before the last has gone, never
  // leave it free; the writer still gets in, and within its own time.
  auto reading = std::make_unique<TFileLock>(file, "form file", TLockKind::Shared, 10s);
  std::atomic<bool> writerDone = false;
  auto writer = std::async(std::launch::async, [&] {
    std::string error = ErrorOf([&] { TFileLock(file, "form file", TLockKind::Exclusive, 10s); });
    writerDone = true;
    return error;
  });
  std::string refused;
  while (!writerDone && refused.empty()) {
    try {
      auto next = std::make_unique<TFileLock>(file, "form file", TLockKind::Shared, 0ms);
      reading = std::move(next);
    } catch (const EInOutError& e) {
      refused = e.Message();  // a writer waits: a reader that comes now is kept off
    }
  }
  reading.reset();
  EXPECT_EQ(writer.get(), "(no error)");
  EXPECT_NE(refused.find("another command is still working on it"), std::string::npos) << refused;
  // Once the writer is done, readers come in again.
  EXPECT_EQ(TFileLock(file, "form file", TLockKind::Shared, 10s).Read(100), "text");
}
