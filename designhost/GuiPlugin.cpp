// The plugin's entry point: hands designhost the Qt side of its commands.
#include "designhost/GuiPlugin.h"

#include "designhost/Screen.h"

const TGuiPlugin* TirvendalGuiPlugin() {
  static const TGuiPlugin plugin{&RunGui, &OpenScreenWidgetSet, &RecordScreenshots};
  return &plugin;
}
