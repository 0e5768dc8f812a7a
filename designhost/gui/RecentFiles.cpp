// The list of recent forms and its file.
#include "designhost/gui/RecentFiles.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

void TRecentFiles::SetStore(const fs::path& Store) {
  FStore = Store;
  FFiles.clear();
  std::ifstream in(Store);
  std::string line;
  while (FFiles.size() < FLimit && std::getline(in, line))
    if (!line.empty()) FFiles.emplace_back(line);
}

fs::path TRecentFiles::DefaultStore() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return fs::path(folder.toStdString()) / "designhost" / "recent-forms";
}

void TRecentFiles::Add(const fs::path& File) {
  std::error_code ec;
  fs::path file = fs::absolute(File, ec).lexically_normal();
  if (ec) file = File;
  FFiles.erase(std::remove(FFiles.begin(), FFiles.end(), file), FFiles.end());
  FFiles.insert(FFiles.begin(), file);
  if (FFiles.size() > FLimit) FFiles.resize(FLimit);
  Write();
}

void TRecentFiles::Remove(const fs::path& File) {
  FFiles.erase(std::remove(FFiles.begin(), FFiles.end(), File), FFiles.end());
  Write();
}

void TRecentFiles::Clear() {
  FFiles.clear();
  Write();
}

void TRecentFiles::Write() const {
  if (FStore.empty()) return;
  QDir().mkpath(QString::fromStdString(FStore.parent_path().string()));
  QSaveFile out(QString::fromStdString(FStore.string()));
  if (!out.open(QIODevice::WriteOnly)) return;
  for (const fs::path& file : FFiles) {
    out.write(QByteArray::fromStdString(file.string()));
    out.write("\n");
  }
  out.commit();
}
