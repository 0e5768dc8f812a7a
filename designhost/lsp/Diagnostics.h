// The language server's diagnostics: check's findings for the open documents, computed in a
// process of their own so that a check never holds up a request and a newer change can end an
// older check at once.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "designhost/lsp/Workspace.h"

// For each open document, the parameters of its publishDiagnostics: check's findings for it,
// each at the property's value (the object line when the property is not stored).
nlohmann::json DiagnoseDocuments(const TWorkspace& Workspace, TPositionEncoding Encoding);

// A piece of work done in a child of this process (a copy of it as it is now), its answer read
// back through a pipe. The child runs nothing but Work and ends without running this process's
// exit code, so it writes nothing of this process's own.
class TCheckProcess {
 public:
  explicit TCheckProcess(const std::function<std::string()>& Work);
  // Ends the child when it still runs.
  ~TCheckProcess();
  TCheckProcess(const TCheckProcess&) = delete;
  TCheckProcess& operator=(const TCheckProcess&) = delete;

  // The end of the pipe to wait on.
  int Fd() const { return FFd; }
  // Reads what the child wrote; true when it has finished, its answer then in Answer.
  bool Read();
  // The answer; empty when the child failed.
  const std::string& Answer() const { return FAnswer; }

 private:
  pid_t FPid = -1;
  int FFd = -1;
  std::string FAnswer;
};
