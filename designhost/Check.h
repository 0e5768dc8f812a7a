// designhost check: a project's forms held against the database files as they are now.
#pragma once

#include <string>
#include <vector>

#include "designhost/Project.h"

// One thing wrong in a form, at the line of the property that holds it.
struct TFinding {
  std::string File;
  int Line = 0;
  std::string Component;  // empty for a form that cannot be read
  std::string Property;
  std::string Message;
  // For a name that was not found, the name and the nearest valid one ("did you mean"); the
  // nearest is empty when none is near.
  std::string Name;
  std::string Nearest;
};

// Every finding of the project's forms, sorted by file (byte order), then line.
std::vector<TFinding> CheckProject(TProject& Project);

// "FILE:LINE: error: COMPONENT.PROPERTY: MESSAGE", or the JSON object of the finding.
std::string FindingLine(const TFinding& Finding);
std::string FindingJson(const TFinding& Finding);

// The command: prints every finding of the forms at Paths (files, or folders of *.xfm), one a
// line, as text or JSON; answers 0 when there is none, else 1. Raises EUsageError for a path
// that does not exist.
int RunCheck(const std::vector<std::string>& Paths, bool Json);
