// The resource table of the loaded libraries.
#include "host/rtl/Resources.h"

#include <algorithm>
#include <utility>

#include "host/rtl/SysUtils.h"

namespace {

std::vector<std::pair<const void*, std::vector<TResourceEntry>>>& Modules() {
  static std::vector<std::pair<const void*, std::vector<TResourceEntry>>> modules;
  return modules;
}

}  // namespace

void RegisterModuleResources(const void* Module, std::vector<TResourceEntry> Entries) {
  UnregisterModuleResources(Module);
  Modules().emplace_back(Module, std::move(Entries));
}

void UnregisterModuleResources(const void* Module) {
  auto& m = Modules();
  m.erase(std::remove_if(m.begin(), m.end(), [&](const auto& e) { return e.first == Module; }), m.end());
}

const TResourceEntry* FindResource(std::string_view Name) {
  auto& m = Modules();
  for (auto it = m.rbegin(); it != m.rend(); ++it)
    for (const TResourceEntry& e : it->second)
      if (SameText(e.Name, Name)) return &e;
  return nullptr;
}
