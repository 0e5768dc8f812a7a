// TFocusReturn: gives the keyboard back to the window that had it when a dialog opened over
// it, once the dialog has closed. Without a window manager nobody else does, and the window
// below would not hear its shortcuts until it was clicked.
#pragma once

#include <QPointer>
#include <QWidget>

class TFocusReturn {
 public:
  // Remembers the active window and its focus widget as they are now.
  TFocusReturn();
  ~TFocusReturn();
  TFocusReturn(const TFocusReturn&) = delete;
  TFocusReturn& operator=(const TFocusReturn&) = delete;

 private:
  QPointer<QWidget> FWindow;
  QPointer<QWidget> FFocus;
};
