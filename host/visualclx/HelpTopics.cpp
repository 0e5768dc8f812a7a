// The registered help topics.
#include "host/visualclx/HelpTopics.h"

#include <algorithm>
#include <utility>

#include "host/rtl/ModuleRegistry.h"
#include "host/rtl/SysUtils.h"

namespace {

TModuleRegistry<THelpTopic>& Registry() {
  static TModuleRegistry<THelpTopic> registry;
  return registry;
}

}  // namespace

void RegisterHelpTopics(const void* Module, std::vector<THelpTopic> Topics) {
  Registry().Register(Module, std::move(Topics));
}

void UnregisterHelpTopics(const void* Module) { Registry().Unregister(Module); }

std::vector<THelpTopic> HelpTopics() {
  std::vector<THelpTopic> topics;
  for (const auto& module : Registry().Modules())
    topics.insert(topics.end(), module.second.begin(), module.second.end());
  std::stable_sort(topics.begin(), topics.end(),
                   [](const THelpTopic& A, const THelpTopic& B) { return A.Context < B.Context; });
  return topics;
}

std::optional<THelpTopic> FindHelpTopic(int Context) {
  for (const auto& module : Registry().Modules())
    for (const THelpTopic& topic : module.second)
      if (topic.Context == Context) return topic;
  return std::nullopt;
}

int HelpContextOf(std::string_view Keyword) {
  for (const THelpTopic& topic : HelpTopics())
    if (SameText(topic.Keyword, Keyword)) return topic.Context;
  return 0;
}
