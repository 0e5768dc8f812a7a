// TQtWidgetSet: the model's modal windows in Qt.
#include "host/qt/QtWidgetSet.h"

#include <QApplication>

#include "host/qt/FocusReturn.h"
#include "host/qt/FormWindow.h"
#include "host/qt/HelpWindow.h"
#include "host/qt/MessageBox.h"
#include "host/qt/OpenFileDialog.h"

TQtWidgetSet::TQtWidgetSet(TQtPlatform Platform)
    : FApplication(QtApplication(Platform)), FHelpHandler([](int Context) { ShowHelpWindow(Context); }) {}

TQtWidgetSet::~TQtWidgetSet() = default;

QWidget* TQtWidgetSet::FrontWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

void TQtWidgetSet::RunModal(TCustomForm& Form) {
  TFocusReturn focus;
  TQtFormWindow window(Form, FrontWindow());
  window.RunModal();
}

TModalResult TQtWidgetSet::MessageBox(const TMessageBox& Box) {
  TFocusReturn focus;
  TQtMessageBox box(Box, FrontWindow());
  return box.Run();
}

bool TQtWidgetSet::ExecuteOpenDialog(TOpenDialog& Dialog) {
  TFocusReturn focus;
  TQtOpenFileDialog dialog(Dialog, FrontWindow());
  return dialog.Run();
}

void TQtWidgetSet::ShowHelp(int Context) {
  if (FHelpHandler) FHelpHandler(Context);
}
