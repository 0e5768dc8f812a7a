// What loaded libraries register and take back as a whole when they go: each module's entries,
// kept in the order the modules registered them. Resources and help topics are kept so.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

template <class Entry>
class TModuleRegistry {
 public:
  using TModuleEntries = std::pair<const void*, std::vector<Entry>>;

  // Module's entries from now on, in place of those it registered before.
  void Register(const void* Module, std::vector<Entry> Entries) {
    Unregister(Module);
    FModules.emplace_back(Module, std::move(Entries));
  }
  void Unregister(const void* Module) {
    FModules.erase(std::remove_if(FModules.begin(), FModules.end(), [&](const auto& e) { return e.first == Module; }),
                   FModules.end());
  }
  // The modules with their entries, the earliest registration first.
  const std::vector<TModuleEntries>& Modules() const { return FModules; }

 private:
  std::vector<TModuleEntries> FModules;
};
