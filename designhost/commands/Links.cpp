// designhost links: the master/detail map of a set of forms.
#include "designhost/Links.h"

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"

namespace {

class TLinksCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "links",
            .Summary = "the master/detail links of forms: FILE<TAB>DETAIL<TAB>MASTER<TAB>PAIRS",
            .Description =
                "One line for every table whose MasterSource's data set is a table, forms in the order "
                "given (a folder: every *.xfm under it), tables in form order. PAIRS is "
                "DETAILFIELD=MASTERFIELD joined by ';', the detail's current order paired with "
                "MasterFields. A backslash, a tab or a line feed inside a path or a name is printed as "
                "\\\\, \\t or \\n.",
            .ExitStatus = {"0  done",
                           "1  a form cannot be read, or a link's pairs cannot be read from its database (a warning)",
                           "2  wrong usage"},
            .Examples = {"designhost links demo", "designhost links --dot demo | dot -Tsvg -o links.svg"}};
  }

  void Declare(TArguments& Arguments) override {
    TArgument json = Arguments.Flag(
        "--json", FJson,
        "one JSON object a link: {\"file\":..,\"detail\":..,\"detailTable\":..,\"master\":..,\"masterTable\":..,"
        "\"index\":..,\"pairs\":[[D,M],...]}");
    Arguments.Flag("--dot", FDot, "one Graphviz digraph: a node a table, an edge from master to detail").Excludes(json);
    Arguments.Flag("--suggest", FSuggest,
                   "instead of the links, the ones link would make from the foreign keys declared by the tables "
                   "of components without a MasterSource (index: the IndexName it would set)");
    Arguments.Add("PATH", FPaths, "a form, or a folder of forms").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    return RunLinks(FPaths, FDot ? TLinksFormat::Dot : FJson ? TLinksFormat::Json : TLinksFormat::Text, FSuggest);
  }

 private:
  bool FJson = false;
  bool FDot = false;
  bool FSuggest = false;
  std::vector<std::string> FPaths;
};

}  // namespace

void AddLinksCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TLinksCommand>()); }
