// designhost new-demo: the demo database and form, written into a folder.
#include <filesystem>
#include <iostream>

#include "designhost/CommandLine.h"
#include "designhost/Demo.h"
#include "designhost/Output.h"

namespace fs = std::filesystem;

namespace {

class TNewDemoCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "new-demo",
            .Summary = "writes the demo database and form into DIR",
            .Description =
                "DIR/demo.tvd holds customers, orders and order items with indexes of every kind; "
                "DIR/demo.xfm a database, the customers and the orders tables, and a data source. DIR "
                "is created when missing. The paths written are printed, one a line.",
            .Examples = {"designhost new-demo demo", "designhost new-demo --force build/demo"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Flag("--force", FForce, "replace the demo files that are there already");
    Arguments.Add("DIR", FDir, "the folder to write into").Required();
  }

  // Writes without loading any design package: the demo needs the components only.
  int Run(const std::vector<std::string>& /*Packages*/) override {
    // The paths are printed before the files are written: output that is lost writes nothing.
    std::cout << (fs::path(FDir) / "demo.tvd").string() << '\n' << (fs::path(FDir) / "demo.xfm").string() << '\n';
    TStandardOutput::Flush();
    WriteDemo(FDir.empty() ? "." : FDir, FForce);  // messages name the folder as it was given
    return kExitDone;
  }

 private:
  bool FForce = false;
  std::string FDir;
};

}  // namespace

void AddNewDemoCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TNewDemoCommand>()); }
