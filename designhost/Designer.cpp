// The designer interface over designhost's open form.
#include "designhost/Designer.h"

#include <algorithm>

#include "designhost/UsageError.h"
#include "host/rtl/NearestWord.h"

namespace {

std::unique_ptr<TPropertyEditor> RowNamed(TFormDesigner& Designer, const std::vector<TComponent*>& Selection,
                                          const std::string& Name) {
  for (auto& row : GetComponentProperties(&Designer, {Selection.begin(), Selection.end()}))
    if (SameText(row->GetName(), Name)) return std::move(row);
  return nullptr;
}

}  // namespace

void TFormDesigner::GetComponentNames(TClass Class, const TGetStrProc& Proc) {
  for (int i = 0; i < FRoot->ComponentCount(); ++i) {
    TComponent* c = FRoot->Components(i);
    if (!c->Name().empty() && c->InheritsFrom(Class)) Proc(c->Name());
  }
}

TComponent* TFormDesigner::GetComponent(const std::string& Name) {
  if (SameText(Name, FRoot->Name())) return FRoot;
  return FRoot->FindComponent(Name);
}

std::unique_ptr<TPropertyEditor> FindInspectorRow(TFormDesigner& Designer, const std::vector<TComponent*>& Selection,
                                                  const std::string& Name) {
  if (auto row = RowNamed(Designer, Selection, Name)) return row;
  std::string names;
  for (const TComponent* component : Selection) names += (names.empty() ? "" : ",") + component->Name();
  if (Selection.size() > 1) {
    if (auto single = RowNamed(Designer, {Selection.front()}, Name)) {
      if (SameText(single->GetName(), "Name"))
        throw EUsageError("several components cannot get one name: " + names + " would all be named alike");
      throw EUsageError("the inspector shows " + single->GetName() +
                        " only when one component is selected (its editor " + single->ClassName() +
                        " has no paMultiSelect)");
    }
  }
  std::vector<std::string> rows;
  for (const auto& row : GetComponentProperties(&Designer, {Selection.begin(), Selection.end()}))
    rows.push_back(row->GetName());
  throw EUsageError("the inspector shows no property '" + Name + "' for " + names + DidYouMean(Name, rows));
}

std::vector<std::string> InspectorValues(TPropertyEditor& Row, bool Raw) {
  std::vector<std::string> values;
  Row.GetValues([&](const std::string& value) { values.push_back(value); });
  if (!Raw && Row.GetAttributes().Contains(paSortList))
    std::stable_sort(values.begin(), values.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  return values;
}
