// designhost's side of the Qt plugin: the commands that need windows load it on first use and
// call through it; the plugin stays loaded until the program ends, as Qt expects.
#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "designhost/DesignPackages.h"
#include "designhost/GuiPlugin.h"
#include "designhost/Screen.h"

namespace {

std::filesystem::path PluginFile() { return LibraryDir() / kGuiPluginFile; }

const TGuiPlugin& Plugin() {
  static const TGuiPlugin* plugin = nullptr;
  if (plugin) return *plugin;
  const std::filesystem::path file = PluginFile();
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) throw Exception("cannot load the design window's library '" + file.string() + "': " + dlerror());
  auto* entry = reinterpret_cast<const TGuiPlugin* (*)()>(dlsym(library, kGuiPluginEntry));
  if (!entry) {
    std::string reason = dlerror();
    dlclose(library);
    throw Exception("'" + file.string() + "' is no design window library: " + reason);
  }
  plugin = entry();
  return *plugin;
}

}  // namespace

int RunGui(const TGuiOptions& Options) { return Plugin().RunGui(Options); }

std::unique_ptr<TWidgetSet> OpenScreenWidgetSet() { return Plugin().OpenScreenWidgetSet(); }

std::unique_ptr<TWidgetSet> RecordScreenshots(TWidgetSet& Inner, const std::string& Dir) {
  return Plugin().RecordScreenshots(Inner, Dir);
}
