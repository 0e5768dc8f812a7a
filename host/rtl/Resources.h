// Named resources that libraries carry (stored form descriptions, package metadata), found by
// name the way a form class finds its own description under its lower-case class name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TResourceEntry {
  std::string Name;       // "tqvrlinkfields", "description", ...
  std::string Type;       // "RCDATA" for form descriptions, "UTF16" for wide texts, ...
  std::string_view Data;  // the bytes, owned by the library that registered them
};

// A library makes its resources findable while it is loaded; Module identifies the library.
void RegisterModuleResources(const void* Module, std::vector<TResourceEntry> Entries);
void UnregisterModuleResources(const void* Module);
// The resource of that name (case-insensitive) from the most recently registered module
// that has one, or nil.
const TResourceEntry* FindResource(std::string_view Name);
