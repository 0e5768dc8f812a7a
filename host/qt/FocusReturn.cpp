// Giving the keyboard back to the window below a closed dialog.
#include "host/qt/FocusReturn.h"

#include <QApplication>

TFocusReturn::TFocusReturn() {
  QWidget* front = QApplication::activeModalWidget();
  if (!front) front = QApplication::activeWindow();
  FWindow = front;
  FFocus = QApplication::focusWidget();
  if (FFocus && FFocus->window() != front) FFocus = nullptr;
}

TFocusReturn::~TFocusReturn() {
  if (!FWindow || !FWindow->isVisible()) return;
  FWindow->raise();
  FWindow->activateWindow();
  if (FFocus && FFocus->isVisible() && FFocus->isEnabled()) FFocus->setFocus(Qt::OtherFocusReason);
}
