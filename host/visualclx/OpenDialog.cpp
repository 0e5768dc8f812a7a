// TOpenDialog: its settings and what it accepts.
#include "host/visualclx/OpenDialog.h"

#include <filesystem>
#include <system_error>

#include "host/rtl/TypInfo.h"
#include "host/visualclx/WidgetSet.h"

const TEnumInfo& OpenOptionTypeInfo() {
  static const TEnumInfo info{
      "TOpenOption",
      {"ofShowHidden", "ofOverwritePrompt", "ofNoChangeDir", "ofAllowMultiSelect", "ofExtensionDifferent",
       "ofPathMustExist", "ofFileMustExist", "ofEnableSizing", "ofViewDetail", "ofViewList"}};
  return info;
}

TClass TOpenDialog::StaticClass() {
  static const TClassInfo info = TClassBuilder<TOpenDialog>(TComponent::StaticClass())
                                     .Component()
                                     .String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
                                     .String("FileName", &TOpenDialog::FileNameText, &TOpenDialog::SetFileNameText)
                                     .String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
                                     .Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1)
                                     .Integer("HelpContext", &TOpenDialog::HelpContext, &TOpenDialog::SetHelpContext)
                                     .String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
                                     .Set("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions,
                                          OpenOptionTypeInfo(), "TOpenOptions", TOpenOptions{ofEnableSizing}.Value())
                                     .String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
                                     .Build();
  return &info;
}

std::string TOpenDialog::FileNameText() const { return Utf16ToUtf8(FFileName); }

void TOpenDialog::SetFileNameText(const std::string& Value) { FFileName = Utf8ToUtf16(Value); }

bool TOpenDialog::Execute() { return WidgetSet().ExecuteOpenDialog(*this); }

std::vector<std::pair<std::string, std::string>> TOpenDialog::FilterEntries() const {
  std::vector<std::pair<std::string, std::string>> result;
  if (FFilter.empty()) return result;
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t bar = FFilter.find('|', start);
    parts.push_back(FFilter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i < parts.size(); i += 2)
    result.emplace_back(parts[i], i + 1 < parts.size() ? parts[i + 1] : std::string());
  return result;
}

TFileAcceptance TOpenDialog::UserAccept(const std::string& Path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path(Path);
  if (path.is_relative()) path = fs::current_path() / path;
  path = path.lexically_normal();
  if (!fs::exists(path, ec) && path.has_filename() && !path.has_extension() && !FDefaultExt.empty())
    path += FDefaultExt.front() == '.' ? FDefaultExt : "." + FDefaultExt;
  if (fs::is_directory(path, ec) || !path.has_filename()) return TFileAcceptance::IsFolder;
  if (FOptions.Contains(ofPathMustExist) && !fs::is_directory(path.parent_path(), ec))
    return TFileAcceptance::PathNotFound;
  if (FOptions.Contains(ofFileMustExist) && !fs::is_regular_file(path, ec)) return TFileAcceptance::FileNotFound;
  FFileName = Utf8ToUtf16(path.string());
  return TFileAcceptance::Accepted;
}
