// designhost link: links two table components of a form by a foreign key that the detail's
// table declares, writing the link as the Field Link Designer writes its own.
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/KeyLinks.h"
#include "designhost/Output.h"
#include "designhost/PropertySnapshot.h"
#include "host/dataclx/DatabaseError.h"
#include "host/rtl/NearestWord.h"
#include "host/runtime/Table.h"
#include "host/visualclx/JsonLine.h"

namespace {

TQVRTable* TableComponent(const TFormDocument& Document, const std::string& Name) {
  TComponent* root = Document.Root();
  if (auto* table = dynamic_cast<TQVRTable*>(root->FindComponent(Name))) return table;
  std::vector<std::string> tables;
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (dynamic_cast<TQVRTable*>(root->Components(i))) tables.push_back(root->Components(i)->Name());
  DatabaseError("no table component '" + Name + "' in " + Document.File().string() + DidYouMean(Name, tables));
}

class TLinkCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "link",
            .Summary = "links two table components of a form by a declared foreign key",
            .Description =
                "Links the table component DETAIL to MASTER through the foreign key DETAIL's table declares to "
                "MASTER's table (MASTER may be left out when DETAIL's table has keys to exactly one table of "
                "the form), making the master's data source when the form has none. Writes MasterSource, "
                "MasterFields and the order as the Field Link Designer does, saves FORM and prints one JSON "
                "line {\"modified\":B,\"changes\":{...}}.",
            .ExitStatus = {"0  done",
                           "1  no such key, several keys, keys to several tables, a loop, or no such table "
                           "component",
                           "2  wrong usage"},
            .Examples = {"designhost link shop.xfm Orders Customers", "designhost link shop.xfm Items"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Add("FORM", FForm, "the form file").Required();
    Arguments.Add("DETAIL", FDetail, "the table component to link").Required();
    Arguments.Add("MASTER", FMaster, "the table component to link it to");
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto document = OpenForm(FForm, TFormDocument::TAccess::Write);
    TQVRTable* detail = TableComponent(*document, FDetail);
    TQVRTable* master = FMaster ? TableComponent(*document, *FMaster) : nullptr;
    TLiveForm form(document->Root());
    const size_t detailIndex = *form.IndexOf(detail);
    const TKeyChoice choice = ChooseKey(form, detailIndex, master ? form.IndexOf(master) : std::optional<size_t>());
    const TLinkPlan plan = PlanLink(form, detailIndex, choice);

    const auto before = PropertySnapshot(*document);
    ApplyLink(document->Root(), plan);
    const auto changes = Changes(before, PropertySnapshot(*document));

    // The line is whole before the form is saved, as edit's is.
    nlohmann::ordered_json result;
    result["modified"] = !changes.empty();
    result["changes"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : changes) result["changes"][key] = value;
    std::cout << JsonLine(result) << '\n';
    if (!changes.empty()) SaveForm(*document);
    return kExitDone;
  }

 private:
  std::string FForm;
  std::string FDetail;
  std::optional<std::string> FMaster;
};

}  // namespace

void AddLinkCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TLinkCommand>()); }
