// Opening, selecting from and taking snapshots of the form that a designhost command works on.
#include "designhost/FormDocument.h"

#include <cstdio>
#include <iostream>

#include "host/rtl/TypInfo.h"

namespace fs = std::filesystem;

std::unique_ptr<TFormDocument> OpenForm(const fs::path& File, TFormDocument::TAccess Access) {
  auto document = std::make_unique<TFormDocument>(File, Access);
  for (const TLoadWarnings::TWarning& warning : document->Warnings())
    std::cerr << Printable("warning: " + warning.Component + ": " + warning.Message) << '\n';
  return document;
}

std::vector<TComponent*> SelectComponents(const TFormDocument& Document, const std::string& Selection) {
  return SelectComponents(Document.Root(), Selection, Document.File().filename().string());
}

std::vector<TComponent*> SelectComponents(TComponent* Root, const std::string& Selection, const std::string& FormName) {
  std::vector<TComponent*> selected;
  size_t start = 0;
  while (start <= Selection.size()) {
    size_t comma = Selection.find(',', start);
    if (comma == std::string::npos) comma = Selection.size();
    std::string name = Trim(std::string_view(Selection).substr(start, comma - start));
    TComponent* component = SameText(name, Root->Name()) ? Root : Root->FindComponent(name);
    if (name.empty() || !component) throw EUsageError(Format("no component '%s' in %s", {name, FormName}));
    selected.push_back(component);
    start = comma + 1;
  }
  return selected;
}

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

std::pair<std::string, std::string> SplitSelectionProperty(const std::string& Argument) {
  size_t dot = Argument.find('.');  // component names hold no dot; a property path may
  if (dot == std::string::npos || dot == 0 || dot + 1 == Argument.size())
    throw EUsageError("expected COMPONENT.PROPERTY, got '" + Argument + "'");
  return {Argument.substr(0, dot), Argument.substr(dot + 1)};
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

std::string Printable(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}
