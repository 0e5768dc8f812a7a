// The design package's main unit, dclTirvendalK3D: the package's metadata and the entry
// points the package loader calls (Initialize, Finalize, GetPackageInfoTable, Register).
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataclx/Db.h"
#include "host/designide/DesignIntf.h"
#include "host/designide/PackageInfo.h"
#include "host/rtl/Classes.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/HelpTopics.h"
#include "host/visualclx/VisualClasses.h"
#include "reg/QVRReg.h"

extern const std::string_view QVRLinkFieldsFormText;

namespace {

constexpr std::string_view kDescription = "Tirvendal - Design package";
constexpr char16_t kDescription16[] = u"Tirvendal - Design package";

constexpr std::array<std::string_view, 5> kRequires = {"bplvclTirvendalK3D.so", "bpldesignide.so.6.9",
                                                       "bpldataclx.so.6.9", "bplvisualclx.so.6.9", "bplrtl.so.6.9"};

const std::array<TPackageUnitEntry, 5> kUnits = {{
    {"dclTirvendalK3D", {ufMainUnit}},
    {"QVREdit", {ufImplicitUnit}},  // used by QVRReg
    {"QVRFldLinks", {ufImplicitUnit}},
    {"SysInit", {ufWeakUnit}},
    {"QVRReg", {}},
}};

constexpr TPackageFlags kFlags = {pfNeverBuild, pfDesignOnly};

std::string FlagNames(uint32_t bits, const TEnumInfo& info) {
  std::string out;
  for (size_t i = 0; i < info.Names.size(); ++i)
    if (bits & (uint32_t{1} << i)) out += (out.empty() ? "" : ",") + info.Names[i];
  return out;
}

// The package options as the platform keeps them: the description and how the package is built.
const std::string& PackageOptionsText() {
  static const std::string text =
      "Description=" + std::string(kDescription) + "\nDesignOnly=True\nImplicitBuild=False\nRunOnly=False\n";
  return text;
}

// The flags, the required packages and the contained units, one line each.
const std::string& PackageInfoText() {
  static const std::string text = [] {
    std::string required, contains;
    for (std::string_view r : kRequires) required += (required.empty() ? "" : ";") + std::string(r);
    for (const TPackageUnitEntry& u : kUnits)
      contains +=
          (contains.empty() ? "" : ";") + std::string(u.Name) + "[" + FlagNames(u.Flags.Value(), UnitFlagInfo()) + "]";
    return "Flags=" + FlagNames(kFlags.Value(), PackageFlagInfo()) + "\nRequires=" + required +
           "\nContains=" + contains + "\n";
  }();
  return text;
}

const std::vector<TResourceEntry>& Resources() {
  static const std::vector<TResourceEntry> resources = {
      {"tqvrlinkfields", "RCDATA", QVRLinkFieldsFormText},
      {"description", "UTF16",
       std::string_view(reinterpret_cast<const char*>(kDescription16), (std::size(kDescription16) - 1) * 2)},
      {"packageoptions", "RCDATA", PackageOptionsText()},
      {"packageinfo", "RCDATA", PackageInfoText()},
  };
  return resources;
}

const TPackageInfoTable& Table() {
  static const TPackageInfoTable table{"dclTirvendalK3D", kDescription, kFlags, kRequires, kUnits, Resources()};
  return table;
}

// The unit start-up order: the required packages' units, then the package's own, which have
// no start-up work of their own.
struct TUnitStart {
  std::string_view Unit;
  void (*Start)();
};
constexpr std::array<TUnitStart, 8> kUnitStarts = {{
    {"Classes", RegisterRtlClasses},
    {"Db", RegisterDataClasses},
    {"QForms", RegisterVisualClasses},
    {"DesignEditors", RegisterDesignClasses},
    {"Qvrmain", RegisterRuntimeClasses},
    {"QVRFldLinks", nullptr},
    {"QVREdit", nullptr},
    {"QVRReg", nullptr},
}};
bool Started = false;

}  // namespace

extern "C" {

const TPackageInfoTable* GetPackageInfoTable() { return &Table(); }

// Starts the units in order and makes the library's resources findable; once is enough.
void Initialize() {
  if (Started) return;
  for (const TUnitStart& unit : kUnitStarts)
    if (unit.Start) unit.Start();
  RegisterModuleResources(&Table(), Resources());
  Started = true;
}

// The package's own units have nothing to release; the resources and the help topics go.
void Finalize() {
  UnregisterHelpTopics(&Table());
  UnregisterModuleResources(&Table());
  Started = false;
}

// The palette entries, the editors and the help topics they ask for.
void Register() {
  QVRReg::Register();
  RegisterHelpTopics(&Table(), QVRReg::HelpTopics());
}
}
