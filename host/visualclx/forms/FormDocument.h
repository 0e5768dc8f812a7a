// TFormDocument: a stored form held open for designing. It reads the form file whole, builds
// its components, and saves them back so that the user's file is never damaged. Every
// designhost command, the design window and the demo writer read and save forms through it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/rtl/Component.h"
#include "host/rtl/SafeFile.h"
#include "host/rtl/SysUtils.h"

// A save that finds its form file changed by someone else since the document read or last
// saved it, and so wrote nothing.
TIRVENDAL_EXCEPTION(EFormChanged, EInOutError);

class TFormDocument {
 public:
  // How long a command waits for another one that works on the same form.
  static constexpr std::chrono::seconds kLockTimeout{10};
  // The most a form file may hold.
  static constexpr size_t kMaxFormSize = size_t{16} << 20;

  // Read: the form is locked for reading while it is read. Write: it is locked for writing
  // from the moment it is read until the document is gone, so that no other command reads
  // or saves it in between and no change is lost. ReadOnly: as Read, for a reader that never
  // saves (a command that only shows the form): the form is not written out as text at the
  // read to know later whether a save would change the file, and a save is refused.
  enum class TAccess { Read, Write, ReadOnly };

  // Reads File, which must be a regular file. A UTF-8 byte order mark is accepted and kept.
  // Relative file names in the form are taken from the form's folder (FormFolder of the
  // root). Data sets stored open that cannot be opened now stay closed and leave Warnings.
  // Raises EInOutError naming the file and the reason, EFormError for its text.
  TFormDocument(const std::filesystem::path& File, TAccess Access);
  // The form that Text describes, belonging to File (empty: no file yet); nothing is read from
  // disk, and the first Save writes.
  TFormDocument(std::string_view Text, const std::filesystem::path& File);
  // A form made in code: Root (taken over), belonging to File (empty: no file yet).
  explicit TFormDocument(std::unique_ptr<TComponent> Root, const std::filesystem::path& File = {});
  ~TFormDocument();
  TFormDocument(const TFormDocument&) = delete;
  TFormDocument& operator=(const TFormDocument&) = delete;

  // A form file's text as a document reads it, for a reader that builds the form its own way:
  // File must be a regular file of at most kMaxFormSize bytes, it is read under a shared lock
  // (waiting kLockTimeout at most for a command that works on it), and a UTF-8 byte order mark
  // is left out. Raises EInOutError naming the file and the reason.
  static std::string ReadText(const std::filesystem::path& File);

  TComponent* Root() const { return FRoot.get(); }
  // The form's file as it was named; empty while the form has none.
  const std::filesystem::path& File() const { return FFile; }
  // What the form's data sets could not do while it was read: one warning per component.
  const std::vector<TLoadWarnings::TWarning>& Warnings() const { return FWarnings; }

  // The text a save writes: the form description, behind the byte order mark it was read with.
  std::string Text() const;
  // Writes Text into File when it differs from the text of the form as it was read (or last
  // saved); the file keeps its bytes and modification time otherwise. The replacement is atomic (see
  // ReplaceFile); a document that does not hold the form's lock takes it for the save.
  // True when the file was written. EInvalidOperation when the document has no file or was
  // opened ReadOnly (so for SaveIfUnchanged and SaveAs).
  bool Save(TFileCalls* Calls = nullptr);
  // Saves as Save does, but only when File still holds what this document read or last saved
  // (looked at under the form's lock, so nobody slips in between the look and the write);
  // otherwise raises EFormChanged and writes nothing.
  bool SaveIfUnchanged();
  // True when File no longer holds what this document read or last saved: another program
  // changed, replaced or removed it. A file that was only touched, or replaced by the same
  // bytes, has not changed.
  bool ChangedOnDisk() const;
  // Reads File afresh in place of the form, as Restore does, and takes it as saved.
  void Reload();
  // Saves into File, which becomes the document's file.
  bool SaveAs(const std::filesystem::path& File);
  // Builds the form afresh from Text, a form description as WriteComponent writes it (an
  // earlier state of this form: undo, redo). The file, the lock, the byte order mark and what
  // the file stands for stay. The current components go first (a database name is known only
  // once in its session); when Text cannot be read they come back, and the error goes on.
  void Restore(std::string_view Text);

 private:
  void Build(std::string_view Text, const std::filesystem::path& File);
  void CheckSavable(const std::filesystem::path& File) const;
  // Where the file stood when this document read or saved Text: identity, size, time and a
  // hash of the bytes.
  struct TStamp {
    uint64_t Device = 0, Inode = 0;
    int64_t Size = -1, Seconds = 0, Nanoseconds = 0;
    size_t Hash = 0;
  };
  static TStamp StampOf(const std::filesystem::path& File, std::string_view Text);
  void Write(const std::filesystem::path& File, std::string_view Text, TFileCalls* Calls, bool IfUnchanged);

  std::filesystem::path FFile;
  std::unique_ptr<TComponent> FRoot;
  std::vector<TLoadWarnings::TWarning> FWarnings;
  std::unique_ptr<TFileLock> FLock;  // held from reading to saving (TAccess::Write)
  bool FByteOrderMark = false;
  bool FReadOnly = false;
  std::optional<std::string> FSavedText;  // the text the file stands for, when known
  std::optional<TStamp> FStamp;           // the file as read or last saved, when it was
};
