// The inspector and palette commands of designhost, and the loading of the design packages.
#include "designhost/Commands.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "designhost/Demo.h"
#include "designhost/Designer.h"
#include "designhost/FormDocument.h"
#include "designhost/Output.h"
#include "host/dataclx/Db.h"
#include "host/designide/DesignEditors.h"
#include "host/designide/PackageLoader.h"
#include "host/designide/Palette.h"
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

fs::path DesignPackageFile() { return LibraryDir() / "bpldclTirvendalK3D.so"; }

std::vector<TPersistent*> AsPersistents(const std::vector<TComponent*>& Components) {
  return {Components.begin(), Components.end()};
}

}  // namespace

void LoadDesignPackages(const std::vector<std::string>& Extra) {
  RegisterRtlClasses();
  RegisterDataClasses();
  RegisterVisualClasses();
  RegisterDesignClasses();
  RegisterRuntimeClasses();
  LoadPackage(DesignPackageFile().string());
  for (const std::string& file : Extra) LoadPackage(fs::absolute(file).string());
}

void RunPalette(bool Json) {
  for (const TPaletteEntry& entry : Palette()) {
    if (Json)
      std::cout << nlohmann::ordered_json{{"page", entry.Page}, {"class", entry.ComponentClass->Name}}.dump() << '\n';
    else
      std::cout << EscapeField(entry.Page) << '\t' << EscapeField(entry.ComponentClass->Name) << '\n';
  }
}

void RunPackageInfo(const std::optional<std::string>& File, bool Json) {
  TPackageInfo info = ReadPackageInfo(File ? fs::absolute(*File).string() : DesignPackageFile().string());
  std::vector<std::string> flags;
  for (size_t i = 0; i < PackageFlagInfo().Names.size(); ++i)
    if (info.Flags.Contains(static_cast<TPackageFlag>(i))) flags.push_back(PackageFlagInfo().Names[i]);
  auto unitFlags = [](const TPackageUnitInfo& unit) {
    std::vector<std::string> names;
    for (size_t i = 0; i < UnitFlagInfo().Names.size(); ++i)
      if (unit.Flags.Contains(static_cast<TUnitFlag>(i))) names.push_back(UnitFlagInfo().Names[i]);
    return names;
  };
  if (Json) {
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
    std::cout << result.dump() << '\n';
    return;
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
}

void RunProperties(const std::string& Form, const std::string& Selection, bool Json) {
  auto document = OpenForm(Form, TFormDocument::TAccess::Read);
  TFormDesigner designer(document->Root());
  auto rows = GetComponentProperties(&designer, AsPersistents(SelectComponents(*document, Selection)));
  for (auto& row : rows) {
    TPropertyAttributes attributes = row->GetAttributes();
    if (Json) {
      nlohmann::ordered_json names = nlohmann::ordered_json::array();
      for (size_t i = 0; i < PropertyAttributeInfo().Names.size(); ++i)
        if (attributes.Contains(static_cast<TPropertyAttribute>(i))) names.push_back(PropertyAttributeInfo().Names[i]);
      std::cout << nlohmann::ordered_json{{"name", row->GetName()},
                                          {"value", row->GetValue()},
                                          {"editor", row->ClassName()},
                                          {"attributes", names}}
                       .dump()
                << '\n';
    } else {
      std::cout << EscapeField(row->GetName()) << '\t' << EscapeField(row->GetValue()) << '\t'
                << EscapeField(row->ClassName()) << '\t' << PropertyAttributeNames(attributes) << '\n';
    }
  }
}

void RunValues(const std::string& Form, const std::string& Target, bool Raw, bool Json) {
  auto [selection, property] = SplitSelectionProperty(Target);
  auto document = OpenForm(Form, TFormDocument::TAccess::Read);
  TFormDesigner designer(document->Root());
  auto row = FindInspectorRow(designer, SelectComponents(*document, selection), property);
  TPropertyAttributes attributes = row->GetAttributes();
  if (!attributes.Contains(paValueList))
    throw EUsageError(Target + " has no value list (its editor " + row->ClassName() + " offers none)");
  std::vector<std::string> values;
  row->GetValues([&](const std::string& value) { values.push_back(value); });
  if (!Raw && attributes.Contains(paSortList))
    std::stable_sort(values.begin(), values.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  for (const std::string& value : values)
    std::cout << (Json ? nlohmann::json(value).dump() : EscapeField(value)) << '\n';
}

void RunSet(const std::string& Form, const std::string& Target, const std::string& Value) {
  auto [selection, property] = SplitSelectionProperty(Target);
  auto document = OpenForm(Form, TFormDocument::TAccess::Write);
  TFormDesigner designer(document->Root());
  auto row = FindInspectorRow(designer, SelectComponents(*document, selection), property);
  if (row->GetAttributes().Contains(paReadOnly)) throw EUsageError(Target + " is read-only");
  row->SetValue(Value);
  if (designer.IsModified()) document->Save();
}

void RunNewDemo(const std::string& Dir, bool Force) {
  WriteDemo(fs::absolute(Dir), Force);
  std::cout << (fs::path(Dir) / "demo.tvd").string() << '\n' << (fs::path(Dir) / "demo.xfm").string() << '\n';
}
