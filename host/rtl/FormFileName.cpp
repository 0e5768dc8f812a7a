// Relative or absolute: the name under which a form stores a file.
#include "host/rtl/FormFileName.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Path relative to Folder when it lies in it or below (not Folder itself).
std::optional<fs::path> Inside(const fs::path& Path, const fs::path& Folder) {
  fs::path relative = Path.lexically_relative(Folder);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return std::nullopt;
  return relative;
}

}  // namespace

std::string FormFileName(const std::string& File, const std::string& Folder) {
  std::error_code ec;
  const fs::path file = fs::absolute(File, ec).lexically_normal();
  if (ec) return File;
  if (Folder.empty()) return file.string();
  const fs::path folder = fs::absolute(Folder, ec).lexically_normal();
  if (ec) return file.string();
  if (std::optional<fs::path> relative = Inside(file, folder)) return relative->string();
  // The same places reached through symbolic links.
  std::error_code fileError, folderError;
  const fs::path realFile = fs::weakly_canonical(file, fileError);
  const fs::path realFolder = fs::weakly_canonical(folder, folderError);
  if (!fileError && !folderError)
    if (std::optional<fs::path> relative = Inside(realFile, realFolder)) return relative->string();
  return file.string();
}
