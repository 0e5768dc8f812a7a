// designhost values: a property's drop-down list, as the Object Inspector shows it.
#include <iostream>

#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"
#include "designhost/Output.h"
#include "host/visualclx/JsonLine.h"

namespace {

class TValuesCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "values",
            .Summary = "the drop-down list of a property, one value a line, as the inspector shows it",
            .Description = "Sorted without regard to case when the editor asks for paSortList.",
            .Examples = {"designhost values demo.xfm Orders.IndexName"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Flag("--raw", FRaw, "the values as the editor delivers them, unsorted");
    Arguments.Flag("--json", FJson, "one JSON string a line");
    Arguments.Add("FORM", FForm, "the form file").Required();
    Arguments.Add("SEL.PROP", FTarget, "the property: COMPONENT[,COMPONENT...].PROPERTY").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto [selection, property] = SplitSelectionProperty(FTarget);
    auto document = OpenForm(FForm, TFormDocument::TAccess::ReadOnly);
    TFormDesigner designer(document->Root());
    auto row = FindInspectorRow(designer, SelectComponents(*document, selection), property);
    TPropertyAttributes attributes = row->GetAttributes();
    if (!attributes.Contains(paValueList))
      throw EUsageError(FTarget + " has no value list (its editor " + row->ClassName() + " offers none)");
    for (const std::string& value : InspectorValues(*row, FRaw))
      std::cout << (FJson ? JsonLine(value) : EscapeField(value)) << '\n';
    return kExitDone;
  }

 private:
  bool FRaw = false;
  bool FJson = false;
  std::string FForm;
  std::string FTarget;
};

}  // namespace

void AddValuesCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TValuesCommand>()); }
