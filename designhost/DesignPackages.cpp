// Loading the design packages into designhost.
#include "designhost/DesignPackages.h"

#include <dlfcn.h>
#include <link.h>

#include "host/dataclx/Db.h"
#include "host/designide/DesignEditors.h"
#include "host/designide/PackageLoader.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/VisualClasses.h"

namespace fs = std::filesystem;

fs::path LibraryDir() {
  // The program needs the run-time library to start, so the dynamic linker has found it through
  // the program's RUNPATH: in the build tree's lib, or in the installed private folder.
  static const fs::path dir = [] {
    void* rtl = dlopen(kRtlLibrary, RTLD_LAZY | RTLD_NOLOAD);
    link_map* map = nullptr;
    fs::path found;
    if (rtl && dlinfo(rtl, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
      found = fs::path(map->l_name).parent_path().lexically_normal();
    if (rtl) dlclose(rtl);
    if (found.empty())
      throw Exception(std::string("cannot find the folder of designhost's libraries: ") + kRtlLibrary +
                      " is not loaded");
    return found;
  }();
  return dir;
}

fs::path DesignPackageFile() { return LibraryDir() / "bpldclTirvendalK3D.so"; }

void LoadDesignPackages(const std::vector<std::string>& Extra) {
  RegisterRtlClasses();
  RegisterDataClasses();
  RegisterVisualClasses();
  RegisterDesignClasses();
  RegisterRuntimeClasses();
  LoadPackage(DesignPackageFile().string());
  for (const std::string& file : Extra) LoadPackage(fs::absolute(file).string());
}
