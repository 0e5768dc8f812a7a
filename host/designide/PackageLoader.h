// The package loader: brings a package library into the process, starts its units, lets it
// register, and takes all of that back on unload. Also reads a package's metadata.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/designide/Forward.h"
#include "host/designide/PackageInfo.h"

struct TPackageUnitInfo {
  std::string Name;
  TUnitFlags Flags;
};

struct TPackageResourceInfo {
  std::string Name;
  std::string Type;
  size_t Size = 0;
};

// A package's metadata, copied out of its table.
struct TPackageInfo {
  std::string Name;
  // The package's "description" resource (UTF-16) when it has one, else the table's text.
  std::string Description;
  TPackageFlags Flags;
  std::vector<std::string> Requires;
  std::vector<TPackageUnitInfo> Units;
  std::vector<TPackageResourceInfo> Resources;
};

// Loads the package library FileName: its exported table, a check that every package it
// requires is loaded in the process, its Initialize, and its Register (when it exports one)
// exactly once. Registrations made meanwhile belong to the package. Raises EPackageError for a
// file that cannot be loaded, one that is no package, a missing required package, or a package
// that is already loaded; a failure leaves nothing of the package behind.
HMODULE LoadPackage(const std::string& FileName);
// Runs the package's Finalize, drops its property editors and palette entries, and closes it.
void UnloadPackage(HMODULE Module);
// The packages loaded through LoadPackage, in load order.
std::vector<HMODULE> LoadedPackages();
// The file a loaded package came from.
std::string PackageFileName(HMODULE Module);

// The metadata of the package library FileName, without starting it.
TPackageInfo ReadPackageInfo(const std::string& FileName);
// The metadata of a package whose table is at hand.
TPackageInfo GetPackageInfo(const TPackageInfoTable& Table);

// Raises EPackageError naming the first package of Table's Requires that is not loaded in the
// process (compared by file name).
void CheckRequiredPackages(const TPackageInfoTable& Table);
