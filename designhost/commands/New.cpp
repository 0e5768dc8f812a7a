// designhost new: a data module for an existing database, its tables linked by the foreign
// keys they declare.
#include <filesystem>
#include <iostream>
#include <optional>

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"
#include "designhost/KeyLinks.h"
#include "designhost/Output.h"
#include "host/visualclx/forms/FormDocument.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitTables(const std::string& List) {
  std::vector<std::string> tables;
  size_t start = 0;
  while (start <= List.size()) {
    size_t comma = List.find(',', start);
    if (comma == std::string::npos) comma = List.size();
    if (comma > start) tables.push_back(List.substr(start, comma - start));
    start = comma + 1;
  }
  return tables;
}

class TNewCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "new",
            .Summary = "a data module for an existing database, its tables linked by their foreign keys",
            .Description =
                "Writes FORM (which must not exist, unless --force) holding a database for DATABASE and a "
                "table component for every table, in the order the file lists them. A table is linked to the "
                "first table its declared foreign keys reference that would not close a loop of links; a data "
                "source is made for every master. Each other key to a chosen table is a note on stderr. "
                "Prints nothing else.",
            .Examples = {"designhost new shop.xfm shop.tvd",
                         "designhost new --tables orders,customers orders.xfm shop.tvd"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Add("--tables", FTables, "only these tables, in this order").TypeName("T,...");
    Arguments.Flag("--force", FForce, "replace FORM when it exists");
    Arguments.Add("FORM", FForm, "the form file to write").Required();
    Arguments.Add("DATABASE", FDatabase, "the SQLite database file").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    const fs::path form(FForm);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(form, ec)) && !FForce)
      throw EInOutError("'" + FForm + "' already exists; it is not overwritten without --force");
    // The database as the form names it: from the form's folder.
    const fs::path folder = fs::absolute(form).parent_path().lexically_normal();
    const std::string stored = fs::absolute(FDatabase).lexically_normal().lexically_relative(folder).string();
    TNewForm plan = PlanNewForm(MakeIdentifier(form.stem().string()), FDatabase, stored,
                                FTables ? SplitTables(*FTables) : std::vector<std::string>{});
    // Read back as any form is, so what is saved is what the reader makes of it.
    TFormDocument document(plan.Text, form);
    for (const std::string& note : plan.Notes) std::cerr << Printable(note) << '\n';
    std::cerr.flush();
    SaveForm(document);
    return kExitDone;
  }

 private:
  std::optional<std::string> FTables;
  bool FForce = false;
  std::string FForm;
  std::string FDatabase;
};

}  // namespace

void AddNewCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TNewCommand>()); }
