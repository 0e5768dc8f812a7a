// Rendering windows to PNG files.
#include "host/qt/Screenshot.h"

#include <QApplication>
#include <QImageWriter>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <system_error>

#include "host/qt/FormWindow.h"
#include "host/qt/MessageBox.h"
#include "host/qt/OpenFileDialog.h"
#include "host/qt/QtApplication.h"
#include "host/qt/QtText.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/Form.h"

void SaveWindowPicture(QWidget& Widget, const std::filesystem::path& FileName) {
  // Pending layouts and repaints first, so the picture shows the state as it is now.
  QCoreApplication::sendPostedEvents();
  QPixmap picture = Widget.grab();
  QImageWriter writer(ToQString(FileName.string()), "png");
  if (picture.isNull() || !writer.write(picture.toImage()))
    throw EInOutError("Cannot write the picture '" + FileName.string() + "': " + FromQString(writer.errorString()));
}

TScreenshotWidgetSet::TScreenshotWidgetSet(TWidgetSet& Inner, const std::filesystem::path& Dir)
    : FApplication(QtApplication(TQtPlatform::Offscreen)), FInner(Inner) {
  // Taken now: the working directory may change before the first picture.
  std::error_code ec;
  FDir = std::filesystem::absolute(Dir, ec);
  if (ec) FDir = Dir;
  std::filesystem::create_directories(FDir, ec);
  if (ec) throw EInOutError("Cannot make the folder '" + FDir.string() + "': " + ec.message());
}

TScreenshotWidgetSet::~TScreenshotWidgetSet() = default;

template <class Result, class Run>
Result TScreenshotWidgetSet::WithWindow(QWidget& Widget, const std::string& Kind, Run run) {
  Widget.show();
  FOpen.push_back({&Widget, Kind});
  struct TPop {
    std::vector<TOpenWindow>& Open;
    ~TPop() { Open.pop_back(); }
  } pop{FOpen};
  Capture();
  return run();
}

void TScreenshotWidgetSet::RunModal(TCustomForm& Form) {
  TQtFormWindow window(Form);
  WithWindow<void>(window, "form-" + (Form.Name().empty() ? Form.ClassName() : Form.Name()),
                   [&] { FInner.RunModal(Form); });
}

TModalResult TScreenshotWidgetSet::MessageBox(const TMessageBox& Box) {
  TQtMessageBox box(Box);
  return WithWindow<TModalResult>(box, "message", [&] { return FInner.MessageBox(Box); });
}

bool TScreenshotWidgetSet::ExecuteOpenDialog(TOpenDialog& Dialog) {
  TQtOpenFileDialog dialog(Dialog);
  return WithWindow<bool>(dialog, "open-file", [&] { return FInner.ExecuteOpenDialog(Dialog); });
}

void TScreenshotWidgetSet::Capture() {
  if (FOpen.empty()) return;
  const TOpenWindow& top = FOpen.back();
  char number[16];
  std::snprintf(number, sizeof number, "%03zu-", FFiles.size() + 1);
  int line = FLineSource ? FLineSource() : 0;
  std::string step = line > 0 ? "line" + std::to_string(line) + "-" : "";
  std::filesystem::path file = FDir / (number + step + top.Kind + ".png");
  SaveWindowPicture(*top.Widget, file);
  FFiles.push_back(file);
}
