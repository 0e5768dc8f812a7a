// TQtOpenFileDialog and the filter in Qt's form.
#include "host/qt/OpenFileDialog.h"

#include <QFileInfo>
#include <QMessageBox>

#include "host/qt/QtText.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/OpenDialog.h"

QString QtNameFilters(const std::string& Filter) {
  TOpenDialog dialog(nullptr);
  dialog.SetFilter(Filter);
  QStringList entries;
  for (const auto& [description, pattern] : dialog.FilterEntries()) {
    QStringList patterns;
    for (const QString& p : ToQString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      QString trimmed = p.trimmed();
      patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    QString list = patterns.join(QLatin1Char(' '));
    QString text = ToQString(description).trimmed();
    // The platform's descriptions name their patterns in parentheses; Qt reads the patterns from
    // there, so the last pair of parentheses holds exactly the list.
    qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (text.endsWith(QLatin1Char(')')) && open >= 0)
      text = text.left(open + 1) + list + QLatin1Char(')');
    else
      text = (text.isEmpty() ? QString() : text + QLatin1Char(' ')) + QLatin1Char('(') + list + QLatin1Char(')');
    entries << text;
  }
  return entries.join(QStringLiteral(";;"));
}

TQtOpenFileDialog::TQtOpenFileDialog(TOpenDialog& Dialog, QWidget* Parent) : QFileDialog(Parent), FDialog(Dialog) {
  // Qt's own dialog: a desktop's native one would bypass the model's judgement of the path.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(Dialog.Options().Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  setWindowTitle(Dialog.Title().empty() ? QStringLiteral("Open") : ToQString(Dialog.Title()));
  if (Dialog.Options().Contains(ofShowHidden)) setFilter(filter() | QDir::Hidden);
  std::string ext = Dialog.DefaultExt();
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  setDefaultSuffix(ToQString(ext));
  QString filters = QtNameFilters(Dialog.Filter());
  if (!filters.isEmpty()) {
    QStringList list = filters.split(QStringLiteral(";;"));
    setNameFilters(list);
    int index = Dialog.FilterIndex() - 1;
    if (index >= 0 && index < list.size()) selectNameFilter(list[index]);
  }
  QString fileName = ToQString(Utf16ToUtf8(Dialog.FileName()));
  QFileInfo file(fileName);
  if (!Dialog.InitialDir().empty())
    setDirectory(ToQString(Dialog.InitialDir()));
  else if (!fileName.isEmpty() && file.isAbsolute())
    setDirectory(file.absolutePath());
  else
    setDirectory(QDir::currentPath());
  if (!fileName.isEmpty()) selectFile(file.fileName());
}

bool TQtOpenFileDialog::AcceptPath(const QString& Path) {
  switch (FDialog.UserAccept(FromQString(Path))) {
    case TFileAcceptance::Accepted:
      FAccepted = true;
      // The path is already checked and taken: QFileDialog's own accept would check it again.
      QDialog::accept();  // NOLINT(bugprone-parent-virtual-call)
      return true;
    case TFileAcceptance::IsFolder:
      setDirectory(QFileInfo(Path).isAbsolute() ? Path : QDir::current().absoluteFilePath(Path));
      return false;
    case TFileAcceptance::FileNotFound:
      QMessageBox::warning(this, windowTitle(), QStringLiteral("%1\nFile not found.").arg(Path));
      return false;
    case TFileAcceptance::PathNotFound:
      QMessageBox::warning(this, windowTitle(), QStringLiteral("%1\nPath not found.").arg(Path));
      return false;
  }
  return false;
}

void TQtOpenFileDialog::accept() {
  QStringList files = selectedFiles();
  if (files.isEmpty()) return;
  AcceptPath(files.first());
}

bool TQtOpenFileDialog::Run() {
  FAccepted = false;
  exec();
  return FAccepted;
}
