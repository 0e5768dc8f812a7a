// The gui command: the design window on the display, or rendered offscreen to a PNG file.
#include <QApplication>
#include <filesystem>
#include <memory>

#include "designhost/Commands.h"
#include "designhost/FormDocument.h"
#include "designhost/gui/ComponentPalette.h"
#include "designhost/gui/DesignWindow.h"
#include "host/qt/QtWidgetSet.h"
#include "host/qt/Screenshot.h"

int RunGui(const TGuiOptions& Options) {
  // The application lives as long as the widget set, which outlives every window below.
  std::unique_ptr<TQtWidgetSet> widgets;
  try {
    widgets = std::make_unique<TQtWidgetSet>(Options.Screenshot ? TQtPlatform::Offscreen : TQtPlatform::Display);
  } catch (const ENoUserError& e) {
    throw EUsageError("the design window needs a display: " + e.Message() +
                      "; use --screenshot FILE to render it to a picture instead");
  }
  // The property editors' dialogs show through Qt.
  TWidgetSetScope scope(*widgets);
  RegisterPlatformComponents();

  std::filesystem::path picture;
  if (Options.Screenshot) picture = std::filesystem::absolute(*Options.Screenshot);
  TDesignWindow window;
  // Pictures leave nothing in the person's settings; a window on the display keeps the list.
  if (!Options.Screenshot) window.RecentFiles().SetStore(TRecentFiles::DefaultStore());
  if (Options.Form) {
    window.LoadFile(*Options.Form);
    if (!Options.Screenshot) window.RecentFiles().Add(window.Document().File());
  }
  if (Options.Select)
    window.Select(SelectComponents(window.Document().Root(), *Options.Select, window.Document().DisplayName()));
  window.show();
  if (Options.Screenshot) {
    SaveWindowPicture(window, picture);
    return 0;
  }
  QApplication::exec();
  return 0;
}
