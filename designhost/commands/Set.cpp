// designhost set: a value typed into a property of a form, saved when it changed the form.
#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"

namespace {

class TSetCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "set",
            .Summary = "types VALUE into the property; saves FORM when modified",
            .Description =
                "The value goes through the property's editor as if typed into the inspector. A VALUE "
                "that starts with '-' follows '--'.",
            .Examples = {"designhost set demo.xfm Orders.IndexName ByCustomer",
                         "designhost set demo.xfm Customers,Orders.DatabaseName Demo"}};
  }

  void Declare(CLI::App& Command) override {
    Command.add_option("FORM", FForm, "the form file")->required();
    Command.add_option("SEL.PROP", FTarget, "the property: COMPONENT[,COMPONENT...].PROPERTY")->required();
    Command.add_option("VALUE", FValue, "the text to type")->required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto [selection, property] = SplitSelectionProperty(FTarget);
    auto document = OpenForm(FForm, TFormDocument::TAccess::Write);
    TFormDesigner designer(document->Root());
    auto row = FindInspectorRow(designer, SelectComponents(*document, selection), property);
    if (row->GetAttributes().Contains(paReadOnly)) throw EUsageError(FTarget + " is read-only");
    row->SetValue(FValue);
    if (designer.IsModified()) document->Save();
    return kExitDone;
  }

 private:
  std::string FForm;
  std::string FTarget;
  std::string FValue;
};

}  // namespace

void AddSetCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TSetCommand>()); }
