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
};

// The packages named with --package, loaded after the project's own design package.
void LoadDesignPackages(const std::vector<std::string>& Extra);

void RunPalette();
void RunPackageInfo(const std::optional<std::string>& File);
void RunProperties(const std::string& Form, const std::string& Selection);
void RunValues(const std::string& Form, const std::string& Target, bool Raw);
void RunSet(const std::string& Form, const std::string& Target, const std::string& Value);
// Answers the exit status: 0, or 3 for a script error (whose message it printed).
int RunEdit(const TEditOptions& Options);
void RunNewDemo(const std::string& Dir);
int RunGui(const TGuiOptions& Options);
