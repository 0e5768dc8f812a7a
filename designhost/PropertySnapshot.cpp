// Snapshots of a form's property values.
#include "designhost/PropertySnapshot.h"

#include "host/rtl/TypInfo.h"

std::map<std::string, std::string> PropertySnapshot(const TFormDocument& Document) {
  TComponent* root = Document.Root();
  std::map<std::string, std::string> values;
  for (int i = 0; i < root->ComponentCount(); ++i) {
    TComponent* component = root->Components(i);
    for (const TPropInfo* p : component->ClassType()->AllProperties()) {
      if (p->Kind == tkClass) {
        TObject* value = GetObjectProp(component, p);
        if (value && !Is<TComponent>(value)) continue;  // sub-objects are not values of their own
      }
      values[component->Name() + "." + p->Name] = GetPropValueText(component, p);
    }
  }
  return values;
}

std::map<std::string, std::string> Changes(const std::map<std::string, std::string>& Before,
                                           const std::map<std::string, std::string>& After) {
  std::map<std::string, std::string> changed;
  for (const auto& [key, value] : After) {
    auto it = Before.find(key);
    if (it == Before.end() || it->second != value) changed[key] = value;
  }
  return changed;
}
