// designhost palette: the registered components, in registration order.
#include "host/designide/Palette.h"

#include <iostream>

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"
#include "designhost/Output.h"
#include "host/rtl/Object.h"
#include "host/visualclx/JsonLine.h"

namespace {

class TPaletteCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "palette",
            .Summary = "PAGE<TAB>CLASS per registered component, in registration order",
            .Examples = {"designhost palette", "designhost --package more.so palette --json"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Flag("--json", FJson, "one JSON object a line: {\"page\":..,\"class\":..}");
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    for (const TPaletteEntry& entry : Palette()) {
      if (FJson)
        std::cout << JsonLine({{"page", entry.Page}, {"class", entry.ComponentClass->Name}}) << '\n';
      else
        std::cout << EscapeField(entry.Page) << '\t' << EscapeField(entry.ComponentClass->Name) << '\n';
    }
    return kExitDone;
  }

 private:
  bool FJson = false;
};

}  // namespace

void AddPaletteCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TPaletteCommand>()); }
