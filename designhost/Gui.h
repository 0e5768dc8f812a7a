// The gui command's options and its entry point, which the Qt plugin carries out.
#pragma once

#include <optional>
#include <string>

struct TGuiOptions {
  std::optional<std::string> Form;
  std::optional<std::string> Screenshot;
  std::optional<std::string> Select;     // COMPONENT[,COMPONENT...]
  std::optional<std::string> Expand;     // PROPERTY[,PROPERTY...]: inspector rows shown opened
  std::optional<std::string> HelpTopic;  // a help topic's name or context: the help window opens on it
};

// The design window on the display, or rendered offscreen to a PNG file; answers the exit
// status.
int RunGui(const TGuiOptions& Options);
