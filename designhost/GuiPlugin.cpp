// The plugin's entry point: hands designhost the Qt side of its commands.
#include "designhost/GuiPlugin.h"

const TGuiPlugin* TirvendalGuiPlugin() {
  static const TGuiPlugin plugin{&ShowDesignWindow, &OpenQtScreen, &RecordQtScreenshots};
  return &plugin;
}
