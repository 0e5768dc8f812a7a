// The inspector and palette commands of designhost, and the loading of the design packages.
#include "designhost/Commands.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "designhost/Demo.h"
#include "designhost/Designer.h"
#include "designhost/FormDocument.h"
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

// The inspector row of the property named Name for the selection, or EUsageError.
std::unique_ptr<TPropertyEditor> FindRow(TFormDesigner& Designer, const std::vector<TComponent*>& Selection,
                                         const std::string& Name, const std::string& Target) {
  auto rows = GetComponentProperties(&Designer, AsPersistents(Selection));
  for (auto& row : rows)
    if (SameText(row->GetName(), Name)) return std::move(row);
  throw EUsageError("the inspector shows no property '" + Name + "' for " + Target.substr(0, Target.find('.')));
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

void RunPalette() {
  for (const TPaletteEntry& entry : Palette()) std::cout << entry.Page << '\t' << entry.ComponentClass->Name << '\n';
}

void RunPackageInfo(const std::optional<std::string>& File) {
  TPackageInfo info = ReadPackageInfo(File ? fs::absolute(*File).string() : DesignPackageFile().string());
  std::cout << "name: " << info.Name << '\n';
  std::cout << "description: " << info.Description << '\n';
  std::string flags;
  for (size_t i = 0; i < PackageFlagInfo().Names.size(); ++i)
    if (info.Flags.Contains(static_cast<TPackageFlag>(i)))
      flags += (flags.empty() ? "" : ",") + PackageFlagInfo().Names[i];
  std::cout << "flags: " << flags << '\n';
  for (const std::string& required : info.Requires) std::cout << "requires: " << required << '\n';
  for (const TPackageUnitInfo& unit : info.Units) {
    std::string unitFlags;
    for (size_t i = 0; i < UnitFlagInfo().Names.size(); ++i)
      if (unit.Flags.Contains(static_cast<TUnitFlag>(i)))
        unitFlags += (unitFlags.empty() ? "" : ",") + UnitFlagInfo().Names[i];
    std::cout << "unit: " << unit.Name << " [" << unitFlags << "]\n";
  }
  for (const TPackageResourceInfo& resource : info.Resources)
    std::cout << "resource: " << resource.Name << " (" << resource.Type << ", " << resource.Size << " bytes)\n";
}

void RunProperties(const std::string& Form, const std::string& Selection) {
  auto document = OpenForm(Form, TFormDocument::TAccess::Read);
  TFormDesigner designer(document->Root());
  auto rows = GetComponentProperties(&designer, AsPersistents(SelectComponents(*document, Selection)));
  for (auto& row : rows) {
    std::cout << row->GetName() << '\t' << row->GetValue() << '\t' << row->ClassName() << '\t'
              << PropertyAttributeNames(row->GetAttributes()) << '\n';
  }
}

void RunValues(const std::string& Form, const std::string& Target, bool Raw) {
  auto [selection, property] = SplitSelectionProperty(Target);
  auto document = OpenForm(Form, TFormDocument::TAccess::Read);
  TFormDesigner designer(document->Root());
  auto row = FindRow(designer, SelectComponents(*document, selection), property, Target);
  TPropertyAttributes attributes = row->GetAttributes();
  if (!attributes.Contains(paValueList))
    throw EUsageError(Target + " has no value list (its editor " + row->ClassName() + " offers none)");
  std::vector<std::string> values;
  row->GetValues([&](const std::string& value) { values.push_back(value); });
  if (!Raw && attributes.Contains(paSortList))
    std::stable_sort(values.begin(), values.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  for (const std::string& value : values) std::cout << value << '\n';
}

void RunSet(const std::string& Form, const std::string& Target, const std::string& Value) {
  auto [selection, property] = SplitSelectionProperty(Target);
  auto document = OpenForm(Form, TFormDocument::TAccess::Write);
  TFormDesigner designer(document->Root());
  auto row = FindRow(designer, SelectComponents(*document, selection), property, Target);
  if (row->GetAttributes().Contains(paReadOnly)) throw EUsageError(Target + " is read-only");
  row->SetValue(Value);
  if (designer.IsModified()) document->Save();
}

void RunNewDemo(const std::string& Dir) {
  WriteDemo(fs::absolute(Dir));
  std::cout << (fs::path(Dir) / "demo.tvd").string() << '\n' << (fs::path(Dir) / "demo.xfm").string() << '\n';
}
