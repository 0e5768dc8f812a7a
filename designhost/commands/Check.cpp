// designhost check: a project's forms held against their database files.
#include "designhost/Check.h"

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"

namespace {

class TCheckCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "check",
            .Summary = "checks forms against their databases: FILE:LINE: error: COMPONENT.PROPERTY: MESSAGE",
            .Description =
                "Reads the forms given (a folder: every *.xfm under it) into one session, so that a "
                "table may name a database of another form, and checks every component against the "
                "database files as they are now: database files, database names, tables, indexes, "
                "index fields, master sources and master fields. One finding a line, sorted by file "
                "and line; nothing is written.",
            .ExitStatus = {"0  no finding", "1  at least one finding", "2  wrong usage"},
            .Examples = {"designhost check demo", "designhost check --json forms/orders.xfm forms/customers.xfm"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Flag("--json", FJson,
                   "one JSON object a finding: "
                   "{\"file\":..,\"line\":N,\"component\":..,\"property\":..,\"message\":..}");
    Arguments.Add("PATH", FPaths, "a form, or a folder of forms").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    return RunCheck(FPaths, FJson);
  }

 private:
  bool FJson = false;
  std::vector<std::string> FPaths;
};

}  // namespace

void AddCheckCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TCheckCommand>()); }
