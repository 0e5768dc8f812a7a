// The process's one Qt application: on the real display, or on Qt's offscreen platform where
// windows are rendered but never shown.
#pragma once

#include <memory>

class QApplication;

enum class TQtPlatform { Display, Offscreen };

// A real display is there for Qt: DISPLAY or WAYLAND_DISPLAY is set, and QT_QPA_PLATFORM does
// not ask for a platform without a screen (offscreen, minimal).
bool QtDisplayAvailable();

// A share in the process's QApplication, made with the first share on Platform (asking for
// the display when none can be reached raises ENoUserError rather than letting Qt abort the
// process) and destroyed with the last, while the program still runs: Qt's own clean-up at
// the process's exit comes too late for it. While shares exist, later calls answer the same
// application whatever they ask for; one the program made itself is answered and left alone.
std::shared_ptr<QApplication> QtApplication(TQtPlatform Platform);

// True when the application runs on the offscreen platform.
bool QtIsOffscreen();
