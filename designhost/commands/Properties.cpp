// designhost properties: the Object Inspector's rows for a selection of a form.
#include <iostream>
#include <nlohmann/json.hpp>

#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"
#include "designhost/Output.h"
#include "host/visualclx/JsonLine.h"

namespace {

class TPropertiesCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "properties",
            .Summary = "the inspector's rows: NAME<TAB>VALUE<TAB>EDITOR CLASS<TAB>ATTRIBUTES",
            .Description =
                "ATTRIBUTES are the editor's attribute names joined by \",\" in ordinal order "
                "(paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, "
                "paReadOnly, paRevertable).",
            .Examples = {"designhost properties demo.xfm Orders",
                         "designhost properties --json demo.xfm Customers,Orders"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Flag("--json", FJson,
                   "one JSON object a line: {\"name\":..,\"value\":..,\"editor\":..,\"attributes\":[..]}");
    Arguments.Add("FORM", FForm, "the form file").Required();
    Arguments.Add("SEL", FSelection, "the selection: COMPONENT[,COMPONENT...]").Required();
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto document = OpenForm(FForm, TFormDocument::TAccess::ReadOnly);
    TFormDesigner designer(document->Root());
    const std::vector<TComponent*> selected = SelectComponents(*document, FSelection);
    auto rows = GetComponentProperties(&designer, {selected.begin(), selected.end()});
    for (auto& row : rows) {
      TPropertyAttributes attributes = row->GetAttributes();
      if (FJson) {
        nlohmann::ordered_json names = nlohmann::ordered_json::array();
        for (size_t i = 0; i < PropertyAttributeInfo().Names.size(); ++i)
          if (attributes.Contains(static_cast<TPropertyAttribute>(i)))
            names.push_back(PropertyAttributeInfo().Names[i]);
        std::cout << JsonLine({{"name", row->GetName()},
                               {"value", row->GetValue()},
                               {"editor", row->ClassName()},
                               {"attributes", names}})
                  << '\n';
      } else {
        std::cout << EscapeField(row->GetName()) << '\t' << EscapeField(row->GetValue()) << '\t'
                  << EscapeField(row->ClassName()) << '\t' << PropertyAttributeNames(attributes) << '\n';
      }
    }
    return kExitDone;
  }

 private:
  bool FJson = false;
  std::string FForm;
  std::string FSelection;
};

}  // namespace

void AddPropertiesCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TPropertiesCommand>()); }
