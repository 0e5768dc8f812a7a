// TOpenDialog: the modal dialog in which a user picks an existing file to open.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/rtl/Component.h"

enum TOpenOption {
  ofShowHidden,
  ofOverwritePrompt,
  ofNoChangeDir,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofEnableSizing,
  ofViewDetail,
  ofViewList
};
using TOpenOptions = TSet<TOpenOption>;

const TEnumInfo& OpenOptionTypeInfo();

// What the dialog makes of a path a user accepts.
enum class TFileAcceptance { Accepted, FileNotFound, PathNotFound, IsFolder };

class TOpenDialog : public TComponent {
  TIRVENDAL_CLASS(TOpenDialog)

  explicit TOpenDialog(TComponent* Owner) : TComponent(Owner) {}

  // Default: [ofEnableSizing].
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  // The extension given to an accepted name that has none and names no file ("tvd" or ".tvd").
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  // Description and pattern pairs separated by "|": "Tables (*.tvd)|*.tvd|Any files (*.*)|*.*".
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  // The filter pair shown first, counted from 1.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  // The chosen file: what the dialog shows preselected, and after Execute the accepted file.
  const std::u16string& FileName() const { return FFileName; }
  void SetFileName(const std::u16string& Value) { FFileName = Value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // Runs the dialog modally through the current widget set: true when the user accepted a
  // file (FileName holds it), false when the dialog was cancelled (FileName is unchanged).
  bool Execute();

  // The Filter's pairs of description and pattern, in order; a pattern missing at the end is empty.
  std::vector<std::pair<std::string, std::string>> FilterEntries() const;

  // A user accepts Path. A relative path is taken from the working directory; a name with no
  // extension that names no file gets DefaultExt. A folder is never accepted (the dialog opens
  // it); with ofFileMustExist a path that names no file, with ofPathMustExist one whose folder
  // does not exist, is refused and the dialog stays open. On acceptance FileName becomes the
  // absolute path.
  TFileAcceptance UserAccept(const std::string& Path);

 private:
  std::string FileNameText() const;
  void SetFileNameText(const std::string& Value);

  TOpenOptions FOptions{ofEnableSizing};
  std::string FDefaultExt;
  std::string FFilter;
  int FFilterIndex = 1;
  std::u16string FFileName;
  std::string FInitialDir;
  std::string FTitle;
  int FHelpContext = 0;
};
