// The resource table of the loaded libraries.
#include "host/rtl/Resources.h"

#include <utility>

#include "host/rtl/ModuleRegistry.h"
#include "host/rtl/SysUtils.h"

namespace {

TModuleRegistry<TResourceEntry>& Registry() {
  static TModuleRegistry<TResourceEntry> registry;
  return registry;
}

}  // namespace

void RegisterModuleResources(const void* Module, std::vector<TResourceEntry> Entries) {
  Registry().Register(Module, std::move(Entries));
}

void UnregisterModuleResources(const void* Module) { Registry().Unregister(Module); }

const TResourceEntry* FindResource(std::string_view Name) {
  const auto& m = Registry().Modules();
  for (auto it = m.rbegin(); it != m.rend(); ++it)
    for (const TResourceEntry& e : it->second)
      if (SameText(e.Name, Name)) return &e;
  return nullptr;
}
