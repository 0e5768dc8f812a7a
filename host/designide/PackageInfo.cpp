// Names of the package and unit flags.
#include "host/designide/PackageInfo.h"

const TEnumInfo& PackageFlagInfo() {
  static const TEnumInfo info{"TPackageFlag", {"pfNeverBuild", "pfDesignOnly", "pfRunOnly", "pfIgnoreDupUnits"}};
  return info;
}

const TEnumInfo& UnitFlagInfo() {
  static const TEnumInfo info{"TUnitFlag",
                              {"ufMainUnit", "ufPackageUnit", "ufWeakUnit", "ufOrgWeakUnit", "ufImplicitUnit"}};
  return info;
}
