// The design window and the real screen bring Qt with them, so they live in a plugin library
// beside designhost's own libraries; designhost loads it only for the commands that show
// windows or render pictures of them, and every other command runs without Qt.
#pragma once

#include <memory>
#include <string>

#include "designhost/Gui.h"
#include "host/visualclx/WidgetSet.h"

// What the plugin offers: the functions of Gui.h and Screen.h that need Qt.
struct TGuiPlugin {
  int (*RunGui)(const TGuiOptions& Options);
  std::unique_ptr<TWidgetSet> (*OpenScreenWidgetSet)();
  std::unique_ptr<TWidgetSet> (*RecordScreenshots)(TWidgetSet& Inner, const std::string& Dir);
};

// The plugin's side of each function it offers, named apart from designhost's side (Gui.h,
// Screen.h), which loads the plugin and calls through it.
int ShowDesignWindow(const TGuiOptions& Options);
std::unique_ptr<TWidgetSet> OpenQtScreen();
std::unique_ptr<TWidgetSet> RecordQtScreenshots(TWidgetSet& Inner, const std::string& Dir);

// The plugin's one entry point, looked up by this name.
extern "C" const TGuiPlugin* TirvendalGuiPlugin();
constexpr const char* kGuiPluginEntry = "TirvendalGuiPlugin";
// The plugin's file name, in designhost's library folder (LibraryDir).
constexpr const char* kGuiPluginFile = "designhostgui.so";
