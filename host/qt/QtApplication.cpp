// The process's Qt application.
#include "host/qt/QtApplication.h"

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/visualclx/WidgetSet.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

std::string DisplayName() {
  const char* name = std::getenv(IsSet("WAYLAND_DISPLAY") ? "WAYLAND_DISPLAY" : "DISPLAY");
  return name ? name : "";
}

bool PlatformWithoutScreen(const std::string& platform) {
  return platform.starts_with("offscreen") || platform.starts_with("minimal");
}

QtMessageHandler& PreviousHandler() {
  static QtMessageHandler previous = nullptr;
  return previous;
}

// Qt's notes that say nothing to a user of designhost: the offscreen platform has no window
// manager to size, raise or grab windows for, and a private folder for run-time files is made
// up when the session has none.
void QuietHandler(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Message.startsWith(QLatin1String("This plugin does not support")) ||
      Message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
    return;
  if (QtMessageHandler previous = PreviousHandler()) previous(Type, Context, Message);
}

}  // namespace

bool QtDisplayAvailable() {
  if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform && PlatformWithoutScreen(platform)) return false;
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

std::shared_ptr<QApplication> QtApplication(TQtPlatform Platform) {
  static std::weak_ptr<QApplication> shared;
  if (std::shared_ptr<QApplication> current = shared.lock()) return current;
  // One made by the program itself stays the program's.
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
    return std::shared_ptr<QApplication>(existing, [](QApplication*) {});
  bool fallback = false;
  if (Platform == TQtPlatform::Offscreen) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  } else {
    if (!QtDisplayAvailable())
      throw ENoUserError("no display to show the windows on (DISPLAY or WAYLAND_DISPLAY is not set)");
    // A display that cannot be reached would make Qt abort the process: the offscreen
    // platform is the last resort, and landing there is reported below.
    if (!IsSet("QT_QPA_PLATFORM")) {
      qputenv("QT_QPA_PLATFORM", IsSet("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen");
      fallback = true;
    }
  }
  // Qt keeps references to argc and argv for the application's whole life.
  static int argc = 1;
  static char name[] = "designhost";
  static char* argv[] = {name, nullptr};
  if (!PreviousHandler()) PreviousHandler() = qInstallMessageHandler(QuietHandler);
  auto application = std::make_shared<QApplication>(argc, argv);
  if (fallback) qunsetenv("QT_QPA_PLATFORM");  // programs started from here choose afresh
  if (Platform == TQtPlatform::Display && QtIsOffscreen())
    throw ENoUserError("cannot open the display '" + DisplayName() + "' to show the windows on");
  shared = application;
  return application;
}

bool QtIsOffscreen() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }
