// The host's help book: one topic per help context that the design window, its property
// editors and the design package's dialogs ask for. The topics are part of the program, so
// help works without any file beside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct THelpTopic {
  int Context;          // the help context that opens it
  std::string Keyword;  // what else finds it: a property editor's class, a window's name
  std::string Title;
  std::string Html;  // the body
};

// The design window, the Object Inspector, the property editors of the design package.
constexpr int kDesignWindowHelp = 27100;
constexpr int kObjectInspectorHelp = 27101;
// The Field Link Designer sets this context when it is created.
constexpr int kFieldLinkDesignerHelp = 27140;

// Every topic, in the order the help window lists them.
const std::vector<THelpTopic>& HelpTopics();
// The topic of Context, or nil.
const THelpTopic* FindHelpTopic(int Context);
// The context of the topic with that keyword (without regard to case), or 0.
int HelpContextOf(std::string_view Keyword);
