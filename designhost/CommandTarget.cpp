// Opening and selecting from the form that a designhost command works on.
#include "designhost/CommandTarget.h"

#include <iostream>

#include "designhost/Output.h"
#include "host/rtl/NearestWord.h"

namespace fs = std::filesystem;

std::unique_ptr<TFormDocument> OpenForm(const fs::path& File, TFormDocument::TAccess Access) {
  auto document = std::make_unique<TFormDocument>(File, Access);
  for (const TLoadWarnings::TWarning& warning : document->Warnings())
    std::cerr << Printable("warning: " + warning.Component + ": " + warning.Message) << '\n';
  return document;
}

// The form named as the user named it on the command line.
std::vector<TComponent*> SelectComponents(const TFormDocument& Document, const std::string& Selection) {
  return SelectComponents(Document.Root(), Selection, Document.File().string());
}

std::vector<TComponent*> SelectComponents(TComponent* Root, const std::string& Selection, const std::string& FormName) {
  std::vector<TComponent*> selected;
  size_t start = 0;
  while (start <= Selection.size()) {
    size_t comma = Selection.find(',', start);
    if (comma == std::string::npos) comma = Selection.size();
    std::string name = Trim(std::string_view(Selection).substr(start, comma - start));
    TComponent* component = SameText(name, Root->Name()) ? Root : Root->FindComponent(name);
    if (name.empty() || !component) {
      std::vector<std::string> names = {Root->Name()};
      for (int i = 0; i < Root->ComponentCount(); ++i) names.push_back(Root->Components(i)->Name());
      throw EUsageError(Format("no component '%s' in %s", {name, FormName}) + DidYouMean(name, names));
    }
    selected.push_back(component);
    start = comma + 1;
  }
  return selected;
}

std::pair<std::string, std::string> SplitSelectionProperty(const std::string& Argument) {
  size_t dot = Argument.find('.');  // component names hold no dot; a property path may
  if (dot == std::string::npos || dot == 0 || dot + 1 == Argument.size())
    throw EUsageError("expected COMPONENT.PROPERTY, got '" + Argument + "'");
  return {Argument.substr(0, dot), Argument.substr(dot + 1)};
}
