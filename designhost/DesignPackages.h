// The design packages that designhost loads: its own, built beside it, and those named with
// --package.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The run-time library every package of the project requires.
constexpr const char* kRtlLibrary = "bplrtl.so.6.9";

// The folder of designhost's own libraries, the design package and the design window's plugin:
// where the run-time library was loaded from (the build's lib folder, or the private library
// folder of an installation). Raises Exception when it cannot be told.
std::filesystem::path LibraryDir();

// The design package built with designhost, in its library folder.
std::filesystem::path DesignPackageFile();

// Registers the platform's classes, then loads the project's own design package and the
// packages named with --package (Extra), in that order.
void LoadDesignPackages(const std::vector<std::string>& Extra);
