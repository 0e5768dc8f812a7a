// The design packages that designhost loads: its own, built beside it, and those named with
// --package.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The design package built with designhost, in the library folder beside the program's own
// folder.
std::filesystem::path DesignPackageFile();

// Registers the platform's classes, then loads the project's own design package and the
// packages named with --package (Extra), in that order.
void LoadDesignPackages(const std::vector<std::string>& Extra);
