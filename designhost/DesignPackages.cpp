// Loading the design packages into designhost.
#include "designhost/DesignPackages.h"

#include "host/dataclx/Db.h"
#include "host/designide/DesignEditors.h"
#include "host/designide/PackageLoader.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/VisualClasses.h"

namespace fs = std::filesystem;

namespace {

// The library folder beside the program's own folder, where the project's packages are built.
fs::path LibraryDir() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::path("lib");
  return self.parent_path().parent_path() / "lib";
}

}  // namespace

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
