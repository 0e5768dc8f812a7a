// What the design window's tests share: the design package loaded once, as designhost loads
// it, and the demo database and form in a temporary folder.
#pragma once

#include <filesystem>
#include <string>

#include "host/dataclx/Db.h"
#include "host/designide/DesignIntf.h"
#include "host/designide/PackageLoader.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/VisualClasses.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/support/Process.h"

namespace qttest {

inline void LoadDesignPackageOnce() {
  static const bool loaded = [] {
    RegisterRtlClasses();
    RegisterDataClasses();
    RegisterVisualClasses();
    RegisterDesignClasses();
    RegisterRuntimeClasses();
    LoadPackage(TIRVENDAL_LIB_DIR "/bpldclTirvendalK3D.so");
    return true;
  }();
  (void)loaded;
}

// The demo (demo.tvd with customers, orders and items; demo.xfm with Database1, Customers,
// CustomersSource and Orders) in a fresh folder.
struct TDemo {
  TDemo() {
    App();
    LoadDesignPackageOnce();
    TProcessResult made = RunProgram(TIRVENDAL_BIN_DIR "/designhost", {"new-demo", Dir.Path().string()});
    if (made.Status != 0) throw std::runtime_error("new-demo failed: " + made.Err);
  }
  std::filesystem::path Form() const { return Dir / "demo.xfm"; }

  TTempDir Dir;
};

}  // namespace qttest
