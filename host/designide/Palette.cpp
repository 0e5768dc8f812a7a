// The component palette.
#include "host/designide/Palette.h"

#include <algorithm>

#include "host/designide/DesignIntf.h"

namespace {

// In registration order; Palette() groups them by page.
std::vector<TPaletteEntry>& Entries() {
  static std::vector<TPaletteEntry> entries;
  return entries;
}

}  // namespace

std::vector<std::string> PalettePages() {
  std::vector<std::string> pages;
  for (const auto& e : Entries())
    if (std::none_of(pages.begin(), pages.end(), [&](const std::string& p) { return SameText(p, e.Page); }))
      pages.push_back(e.Page);
  return pages;
}

std::vector<TPaletteEntry> Palette() {
  std::vector<TPaletteEntry> out;
  for (const std::string& page : PalettePages())
    for (const auto& e : Entries())
      if (SameText(e.Page, page)) out.push_back(e);
  return out;
}

void InstallPalette() {
  SetRegisterComponentsProc([](const std::string& Page, const std::vector<TClass>& Classes) {
    if (Page.empty()) throw EComponentError("A component needs a palette page");
    for (TClass c : Classes) {
      if (!c || !c->InheritsFrom(TComponent::StaticClass()) || !c->NewComponent)
        throw EComponentError((c ? c->Name : std::string("nil")) + " is not a component class that can be created");
    }
    for (TClass c : Classes) Entries().push_back({Page, c, CurrentRegisteringModule()});
  });
}

void UnregisterModuleComponents(HMODULE Module) {
  auto& e = Entries();
  e.erase(std::remove_if(e.begin(), e.end(), [&](const auto& x) { return x.Module == Module; }), e.end());
}
