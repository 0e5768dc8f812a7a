// The registered help topics.
#include "host/visualclx/HelpTopics.h"

#include <algorithm>
#include <utility>

#include "host/rtl/SysUtils.h"

namespace {

std::vector<std::pair<const void*, std::vector<THelpTopic>>>& Modules() {
  static std::vector<std::pair<const void*, std::vector<THelpTopic>>> modules;
  return modules;
}

}  // namespace

void RegisterHelpTopics(const void* Module, std::vector<THelpTopic> Topics) {
  UnregisterHelpTopics(Module);
  Modules().emplace_back(Module, std::move(Topics));
}

void UnregisterHelpTopics(const void* Module) {
  auto& m = Modules();
  m.erase(std::remove_if(m.begin(), m.end(), [&](const auto& e) { return e.first == Module; }), m.end());
}

std::vector<THelpTopic> HelpTopics() {
  std::vector<THelpTopic> topics;
  for (const auto& module : Modules()) topics.insert(topics.end(), module.second.begin(), module.second.end());
  std::stable_sort(topics.begin(), topics.end(),
                   [](const THelpTopic& A, const THelpTopic& B) { return A.Context < B.Context; });
  return topics;
}

std::optional<THelpTopic> FindHelpTopic(int Context) {
  for (const auto& module : Modules())
    for (const THelpTopic& topic : module.second)
      if (topic.Context == Context) return topic;
  return std::nullopt;
}

int HelpContextOf(std::string_view Keyword) {
  for (const THelpTopic& topic : HelpTopics())
    if (SameText(topic.Keyword, Keyword)) return topic.Context;
  return 0;
}
