// designhost set: a value typed into a property of a form, saved when it changed the form.
#include <algorithm>
#include <iostream>

#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"
#include "designhost/Output.h"
#include "host/rtl/NearestWord.h"

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

  void Declare(TArguments& Arguments) override {
    Arguments.Add("FORM", FForm, "the form file").Required();
    Arguments.Add("SEL.PROP", FTarget, "the property: COMPONENT[,COMPONENT...].PROPERTY").Required();
    Arguments.Add("VALUE", FValue, "the text to type").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto [selection, property] = SplitSelectionProperty(FTarget);
    auto document = OpenForm(FForm, TFormDocument::TAccess::Write);
    TFormDesigner designer(document->Root());
    auto row = FindInspectorRow(designer, SelectComponents(*document, selection), property);
    if (row->GetAttributes().Contains(paReadOnly)) throw EUsageError(FTarget + " is read-only");
    // A value that is not in the drop-down list is taken, as the inspector takes it (a closed
    // table accepts any name), but said, since check would find it only later.
    std::string notInList;
    if (row->GetAttributes().Contains(paValueList) && !FValue.empty()) {
      std::vector<std::string> values;
      row->GetValues([&](const std::string& value) { values.push_back(value); });
      if (std::none_of(values.begin(), values.end(), [&](const std::string& v) { return SameText(v, FValue); }))
        notInList = "warning: " + FTarget + ": '" + FValue + "' is not in the list" + DidYouMean(FValue, values);
    }
    row->SetValue(FValue);
    if (!notInList.empty()) std::cerr << Printable(notInList) << '\n';
    if (designer.IsModified()) SaveForm(*document);
    return kExitDone;
  }

 private:
  std::string FForm;
  std::string FTarget;
  std::string FValue;
};

}  // namespace

void AddSetCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TSetCommand>()); }
