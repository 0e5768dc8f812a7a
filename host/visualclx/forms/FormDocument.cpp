// TFormDocument: reading a form file under its lock, and saving it back only when its text
// changed, atomically.
#include "host/visualclx/forms/FormDocument.h"

#include <sys/stat.h>

#include <functional>
#include <system_error>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/FormReader.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

const std::string kWhat = "form file";

// The folder relative names in the form are taken from: the form file's own folder.
std::string FolderOf(const fs::path& File) {
  std::error_code ec;
  fs::path absolute = fs::absolute(File, ec);
  return (ec ? File : absolute).parent_path().string();
}

}  // namespace

TFormDocument::TFormDocument(const fs::path& File, TAccess Access)
    : FFile(File), FReadOnly(Access == TAccess::ReadOnly) {
  auto lock = std::make_unique<TFileLock>(
      File, kWhat, Access == TAccess::Write ? TLockKind::Exclusive : TLockKind::Shared, kLockTimeout);
  const std::string text = lock->Read(kMaxFormSize);
  Build(text, File);
  FStamp = StampOf(File, text);
  // The form as this program would write it: a save that would write the same keeps the file
  // as it is, also when it was written by hand in another layout. A document that is never
  // saved has no use for it (on a large form, writing it costs half as much as reading).
  if (!FReadOnly) FSavedText = Text();
  if (Access == TAccess::Write) FLock = std::move(lock);
}

std::string TFormDocument::ReadText(const fs::path& File) {
  TFileLock lock(File, kWhat, TLockKind::Shared, kLockTimeout);
  std::string text = lock.Read(kMaxFormSize);
  if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
  return text;
}

TFormDocument::TFormDocument(std::string_view Text, const fs::path& File) : FFile(File) { Build(Text, File); }

TFormDocument::TFormDocument(std::unique_ptr<TComponent> Root, const fs::path& File)
    : FFile(File), FRoot(std::move(Root)) {
  FRoot->SetDesigning(true);
  if (!File.empty()) FRoot->SetFormFolder(FolderOf(File));
}

TFormDocument::~TFormDocument() {
  // The components go before the lock: nothing of the form outlives the hold on its file.
  FRoot.reset();
}

void TFormDocument::Build(std::string_view Text, const fs::path& File) {
  FByteOrderMark = Text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (FByteOrderMark) Text.remove_prefix(kByteOrderMark.size());
  // Errors name the form as it was given, so that an editor can open it from where the program ran.
  const std::string name = File.empty() ? std::string("Untitled") : File.string();
  // The root knows its folder before anything of it loads: a table stored open opens while
  // the form is read, and its database file may be named relative to the form.
  TLoadWarnings warnings;
  FRoot = ReadRootComponent(Text, name, nullptr, File.empty() ? std::string() : FolderOf(File));
  FRoot->SetDesigning(true);
  FWarnings = warnings.Items();
}

std::string TFormDocument::Text() const {
  std::string text = FByteOrderMark ? std::string(kByteOrderMark) : std::string();
  return text + WriteComponent(FRoot.get());
}

void TFormDocument::CheckSavable(const fs::path& File) const {
  if (FReadOnly) throw EInvalidOperation("Form file '" + FFile.string() + "' was opened read-only: it is not saved");
  if (File.empty()) throw EInvalidOperation("The form has no file yet: save it under a name");
}

bool TFormDocument::Save(TFileCalls* Calls) {
  CheckSavable(FFile);
  std::string text = Text();
  if (FSavedText && *FSavedText == text) return false;
  Write(FFile, text, Calls, false);
  FSavedText = std::move(text);
  return true;
}

bool TFormDocument::SaveIfUnchanged() {
  CheckSavable(FFile);
  std::string text = Text();
  if (FSavedText && *FSavedText == text) return false;
  Write(FFile, text, nullptr, true);
  FSavedText = std::move(text);
  return true;
}

TFormDocument::TStamp TFormDocument::StampOf(const fs::path& File, std::string_view Text) {
  TStamp stamp;
  struct stat info {};
  if (stat(File.c_str(), &info) == 0) {
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = info.st_size;
    stamp.Seconds = info.st_mtim.tv_sec;
    stamp.Nanoseconds = info.st_mtim.tv_nsec;
  }
  stamp.Hash = std::hash<std::string_view>{}(Text);
  return stamp;
}

bool TFormDocument::ChangedOnDisk() const {
  if (FFile.empty()) return false;
  std::error_code ec;
  // A document that never read its file cannot tell what it held: a file there is news to it.
  if (!FStamp) return fs::exists(FFile, ec);
  struct stat info {};
  if (stat(FFile.c_str(), &info) != 0) return true;  // removed, or no longer reachable
  if (info.st_dev == FStamp->Device && info.st_ino == FStamp->Inode && info.st_size == FStamp->Size &&
      info.st_mtim.tv_sec == FStamp->Seconds && info.st_mtim.tv_nsec == FStamp->Nanoseconds)
    return false;
  // Something happened to the file: it changed only when its bytes did.
  std::string text;
  try {
    text = ReadRegularFile(FFile, kWhat, kMaxFormSize);
  } catch (const EInOutError&) {
    return true;
  }
  return static_cast<int64_t>(text.size()) != FStamp->Size || std::hash<std::string_view>{}(text) != FStamp->Hash;
}

void TFormDocument::Reload() {
  if (FFile.empty()) throw EInvalidOperation("The form has no file to read again");
  TFileLock lock(FFile, kWhat, TLockKind::Shared, kLockTimeout);
  const std::string text = lock.Read(kMaxFormSize);
  const bool byteOrderMark = std::string_view(text).starts_with(kByteOrderMark);
  Restore(byteOrderMark ? std::string_view(text).substr(kByteOrderMark.size()) : std::string_view(text));
  FByteOrderMark = byteOrderMark;
  if (!FReadOnly) FSavedText = Text();
  FStamp = StampOf(FFile, text);
}

bool TFormDocument::SaveAs(const fs::path& File) {
  CheckSavable(File);
  if (File == FFile) return Save();
  std::string text = Text();
  Write(File, text, nullptr, false);
  FLock.reset();
  FFile = File;
  FSavedText = std::move(text);
  FRoot->SetFormFolder(FolderOf(File));
  return true;
}

void TFormDocument::Restore(std::string_view Text) {
  const bool byteOrderMark = FByteOrderMark;
  std::string current = WriteComponent(FRoot.get());
  FRoot.reset();
  try {
    Build(Text, FFile);
  } catch (...) {
    Build(current, FFile);  // what was written always reads back
    FByteOrderMark = byteOrderMark;
    throw;
  }
  FByteOrderMark = byteOrderMark;
}

void TFormDocument::Write(const fs::path& File, std::string_view Text, TFileCalls* Calls, bool IfUnchanged) {
  // A document that does not hold the form's lock takes it for the save; a file that does not
  // exist yet has no lock to take.
  std::unique_ptr<TFileLock> lock;
  std::error_code ec;
  const bool held = FLock && File == FFile;
  if (!held && fs::exists(File, ec))
    lock = std::make_unique<TFileLock>(File, kWhat, TLockKind::Exclusive, kLockTimeout);
  if (IfUnchanged && ChangedOnDisk())
    throw EFormChanged("Form file '" + File.string() + "' has changed on disk since it was read or saved here");
  ReplaceFile(File, Text, kWhat, held || lock, Calls);
  FStamp = StampOf(File, Text);
}
