// The help topics the application can show. Whoever asks for help on a context registers the
// topic of that context while it is loaded (the design package its editors' and dialogs' topics,
// the design window its own); a widget set only shows them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct THelpTopic {
  int Context;          // the help context that opens it
  std::string Keyword;  // what else finds it: a property editor's class, a window's name
  std::string Title;
  std::string Html;  // the body
};

// Module's topics are shown from now on, in place of those it registered before; Module
// identifies the library or the part of the program that owns them.
void RegisterHelpTopics(const void* Module, std::vector<THelpTopic> Topics);
void UnregisterHelpTopics(const void* Module);

// Every registered topic, in the order of their contexts, which is the order help lists them.
std::vector<THelpTopic> HelpTopics();
// The topic of Context, if one is registered.
std::optional<THelpTopic> FindHelpTopic(int Context);
// The context of the topic with that keyword (without regard to case), or 0.
int HelpContextOf(std::string_view Keyword);
