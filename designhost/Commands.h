// The designhost commands; each prints its result on stdout and raises on failure.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TEditOptions {
  std::string Form;
  std::string Target;  // SEL.PROP
  std::optional<std::string> Script;
  bool DryRun = false;
  std::optional<std::string> Screenshots;
};

struct TGuiOptions {
  std::optional<std::string> Form;
  std::optional<std::string> Screenshot;
  std::optional<std::string> Select;  // COMPONENT[,COMPONENT...]
  std::optional<std::string> Expand;  // PROPERTY[,PROPERTY...]: inspector rows shown opened
  std::optional<int> HelpTopic;       // a help context: the help window opens on its topic
};

// The packages named with --package, loaded after the project's own design package.
void LoadDesignPackages(const std::vector<std::string>& Extra);

// Json: one JSON value a line instead of the text format.
void RunPalette(bool Json);
void RunPackageInfo(const std::optional<std::string>& File, bool Json);
void RunProperties(const std::string& Form, const std::string& Selection, bool Json);
void RunValues(const std::string& Form, const std::string& Target, bool Raw, bool Json);
void RunSet(const std::string& Form, const std::string& Target, const std::string& Value);
// Answers the exit status: 0, or 3 for a script error (whose message it printed).
int RunEdit(const TEditOptions& Options);
// Force: replace the demo files that are there already.
void RunNewDemo(const std::string& Dir, bool Force);
int RunGui(const TGuiOptions& Options);
