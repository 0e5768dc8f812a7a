// Reading, selecting from and saving the form that a designhost command works on.
#include "designhost/FormDocument.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "host/rtl/TypInfo.h"
#include "host/visualclx/forms/FormReader.h"

namespace fs = std::filesystem;

TFormDocument::TFormDocument(const fs::path& File) {
  std::error_code ec;
  FFile = fs::absolute(File, ec);
  if (ec) FFile = File;
  std::ifstream in(FFile, std::ios::binary);
  if (!in) throw EInOutError("Cannot open form file '" + File.string() + "'");
  std::ostringstream text;
  text << in.rdbuf();
  fs::current_path(FFile.parent_path(), ec);
  if (ec) throw EInOutError("Cannot enter the folder of '" + File.string() + "': " + ec.message());
  FRoot = ReadRootComponent(text.str(), FFile.filename().string());
  FRoot->SetDesigning(true);
}

TFormDocument::~TFormDocument() = default;

std::vector<TComponent*> TFormDocument::Select(const std::string& Selection) const {
  std::vector<TComponent*> selected;
  size_t start = 0;
  while (start <= Selection.size()) {
    size_t comma = Selection.find(',', start);
    if (comma == std::string::npos) comma = Selection.size();
    std::string name = Trim(std::string_view(Selection).substr(start, comma - start));
    TComponent* component = SameText(name, FRoot->Name()) ? FRoot.get() : FRoot->FindComponent(name);
    if (name.empty() || !component) throw EUsageError("no component '" + name + "' in " + FFile.filename().string());
    selected.push_back(component);
    start = comma + 1;
  }
  return selected;
}

std::map<std::string, std::string> TFormDocument::Snapshot() const {
  std::map<std::string, std::string> values;
  for (int i = 0; i < FRoot->ComponentCount(); ++i) {
    TComponent* component = FRoot->Components(i);
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

void TFormDocument::Save() const {
  std::string text = WriteComponent(FRoot.get());
  fs::path temporary = FFile;
  temporary += ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(temporary, ec);
      throw EInOutError("Cannot write form file '" + FFile.string() + "'");
    }
  }
  std::error_code ec;
  fs::rename(temporary, FFile, ec);
  if (ec) {
    fs::remove(temporary, ec);
    throw EInOutError("Cannot replace form file '" + FFile.string() + "'");
  }
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
