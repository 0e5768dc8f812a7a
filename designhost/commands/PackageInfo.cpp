// designhost package-info: a package's own description, read without running it.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"
#include "designhost/Output.h"
#include "host/designide/PackageLoader.h"
#include "host/visualclx/JsonLine.h"

namespace fs = std::filesystem;

namespace {

class TPackageInfoCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "package-info",
            .Summary = "name, description, required packages, units, resources of a package",
            .Description =
                "Reads the package's own description without running it: one 'KEY: VALUE' line each for "
                "name, description, flags, requires (one line a package), unit and resource.",
            .Examples = {"designhost package-info", "designhost package-info --json build/lib/bpldclTirvendalK3D.so"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Add("FILE", FFile, "the package library (default: the design package built with designhost)");
    Arguments.Flag("--json", FJson,
                   "one JSON object: {\"name\":..,\"description\":..,\"flags\":[..],\"requires\":[..],"
                   "\"units\":[{\"name\":..,\"flags\":[..]}],\"resources\":[{\"name\":..,\"type\":..,\"size\":N}]}");
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    TPackageInfo info = ReadPackageInfo(FFile ? fs::absolute(*FFile).string() : DesignPackageFile().string());
    std::vector<std::string> flags;
    for (size_t i = 0; i < PackageFlagInfo().Names.size(); ++i)
      if (info.Flags.Contains(static_cast<TPackageFlag>(i))) flags.push_back(PackageFlagInfo().Names[i]);
    auto unitFlags = [](const TPackageUnitInfo& unit) {
      std::vector<std::string> names;
      for (size_t i = 0; i < UnitFlagInfo().Names.size(); ++i)
        if (unit.Flags.Contains(static_cast<TUnitFlag>(i))) names.push_back(UnitFlagInfo().Names[i]);
      return names;
    };
    if (FJson) {
      nlohmann::ordered_json result{{"name", info.Name},
                                    {"description", info.Description},
                                    {"flags", flags},
                                    {"requires", info.Requires},
                                    {"units", nlohmann::ordered_json::array()},
                                    {"resources", nlohmann::ordered_json::array()}};
      for (const TPackageUnitInfo& unit : info.Units)
        result["units"].push_back({{"name", unit.Name}, {"flags", unitFlags(unit)}});
      for (const TPackageResourceInfo& resource : info.Resources)
        result["resources"].push_back({{"name", resource.Name}, {"type", resource.Type}, {"size", resource.Size}});
      std::cout << JsonLine(result) << '\n';
      return kExitDone;
    }
    auto joined = [](const std::vector<std::string>& names) {
      std::string text;
      for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
      return text;
    };
    std::cout << "name: " << EscapeField(info.Name) << '\n';
    std::cout << "description: " << EscapeField(info.Description) << '\n';
    std::cout << "flags: " << joined(flags) << '\n';
    for (const std::string& required : info.Requires) std::cout << "requires: " << EscapeField(required) << '\n';
    for (const TPackageUnitInfo& unit : info.Units)
      std::cout << "unit: " << EscapeField(unit.Name) << " [" << joined(unitFlags(unit)) << "]\n";
    for (const TPackageResourceInfo& resource : info.Resources)
      std::cout << "resource: " << EscapeField(resource.Name) << " (" << EscapeField(resource.Type) << ", "
                << resource.Size << " bytes)\n";
    return kExitDone;
  }

 private:
  std::optional<std::string> FFile;
  bool FJson = false;
};

}  // namespace

void AddPackageInfoCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TPackageInfoCommand>()); }
