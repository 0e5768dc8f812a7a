// The table a package library hands the loader (its exported GetPackageInfoTable): the
// package's name and description, its flags, the packages it requires, the units it
// contains and the resources it carries. The package fills it; the loader only reads it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "host/rtl/Object.h"
#include "host/rtl/Resources.h"

// The platform's package flags (bit 1 << ordinal).
enum TPackageFlag { pfNeverBuild, pfDesignOnly, pfRunOnly, pfIgnoreDupUnits };
using TPackageFlags = TSet<TPackageFlag>;

// The platform's unit flags: the package's main unit, a unit of the package, a weak
// (packaged but not exported) unit, and one the package contains only because a contained
// unit uses it.
enum TUnitFlag { ufMainUnit, ufPackageUnit, ufWeakUnit, ufOrgWeakUnit, ufImplicitUnit };
using TUnitFlags = TSet<TUnitFlag>;

const TEnumInfo& PackageFlagInfo();
const TEnumInfo& UnitFlagInfo();

struct TPackageUnitEntry {
  std::string_view Name;
  TUnitFlags Flags;
};

struct TPackageInfoTable {
  std::string_view Name;
  std::string_view Description;
  TPackageFlags Flags;
  std::span<const std::string_view> Requires;  // library file names, in the package's order
  std::span<const TPackageUnitEntry> Units;    // in the package's order
  std::span<const TResourceEntry> Resources;
};

// The entry points a package library exports with C linkage.
extern "C" {
using TGetPackageInfoTableProc = const TPackageInfoTable* (*)();
using TPackageInitializeProc = void (*)();
using TPackageFinalizeProc = void (*)();
using TPackageRegisterProc = void (*)();
}
