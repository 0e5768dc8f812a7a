// The component palette: the classes that packages put on named pages with RegisterComponents.
#pragma once

#include <string>
#include <vector>

#include "host/designide/Forward.h"
#include "host/rtl/Forward.h"

struct TPaletteEntry {
  std::string Page;
  TClass ComponentClass;
  HMODULE Module;  // the package that registered it; nil for the host
};

// The palette's entries page by page, pages in the order they were first registered, the
// classes of a page in registration order.
std::vector<TPaletteEntry> Palette();
// The pages, in the order they were first registered.
std::vector<std::string> PalettePages();

// Makes the palette the target of RegisterComponents (RegisterDesignClasses does it).
void InstallPalette();
// Takes a module's classes off the palette.
void UnregisterModuleComponents(HMODULE Module);
