// designhost lsp: the language server for form files, for any editor that speaks the protocol.
#include <unistd.h>

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"
#include "designhost/lsp/Server.h"

namespace {

class TLspCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "lsp",
            .Summary = "a language server for form files",
            .Description =
                "Speaks the Language Server Protocol (JSON-RPC with Content-Length framing) on standard input "
                "and output; standard error carries its log. The editor's open forms are checked as check "
                "checks them, the workspace's forms read with them, and completion offers the drop-down lists "
                "as values delivers them. It never writes a file: every change is an edit the editor applies.",
            .ExitStatus = {"0  ended by shutdown and exit", "1  exit without shutdown, or the input closed",
                           "2  wrong usage"},
            .Examples = {"designhost lsp"}};
  }

  void Declare(TArguments& /*Arguments*/) override {}

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    return TLspServer(STDIN_FILENO, STDOUT_FILENO).Run();
  }
};

}  // namespace

void AddLspCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TLspCommand>()); }
