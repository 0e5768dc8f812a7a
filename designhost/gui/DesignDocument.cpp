// TDesignDocument: reading, changing and saving the form the design window edits.
#include "designhost/gui/DesignDocument.h"

#include <system_error>

#include "host/rtl/FormFileName.h"
#include "host/rtl/SysUtils.h"
#include "host/runtime/Database.h"
#include "host/visualclx/DataModule.h"

namespace fs = std::filesystem;

class TDesignDocument::TDocumentDesigner : public TFormDesigner {
 public:
  TDocumentDesigner(TDesignDocument& Document) : TFormDesigner(Document.Root()), FDocument(Document) {}
  void Modified() override {
    TFormDesigner::Modified();
    FDocument.MarkModified();
  }

 private:
  TDesignDocument& FDocument;
};

TDesignDocument::TDesignDocument() {
  auto root = std::make_unique<TDataModule>(nullptr);
  root->SetName("DataModule1");
  FForm = std::make_unique<TFormDocument>(std::move(root));
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::TDesignDocument(const fs::path& File)
    : FForm(std::make_unique<TFormDocument>(File, TFormDocument::TAccess::Read)) {
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::TDesignDocument(std::string_view Text, const fs::path& File)
    : FForm(std::make_unique<TFormDocument>(Text, File)) {
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::~TDesignDocument() = default;

IDesigner& TDesignDocument::Designer() { return *FDesigner; }

std::string TDesignDocument::DisplayName() const { return Untitled() ? "Untitled" : File().filename().string(); }

void TDesignDocument::SetModified(bool Value) {
  if (Value == FModified) return;
  FModified = Value;
  if (FOnModifiedChanged) FOnModifiedChanged();
}

void TDesignDocument::MarkModified() { SetModified(true); }

void TDesignDocument::Rebuild(const std::function<void()>& Build) {
  // The designer serves whichever root the form has after the attempt, the old or the new.
  try {
    Build();
  } catch (...) {
    FDesigner->SetRoot(Root());
    throw;
  }
  FDesigner->SetRoot(Root());
}

void TDesignDocument::Restore(std::string_view Text) {
  Rebuild([&] { FForm->Restore(Text); });
}

std::vector<std::string> TDesignDocument::SaveAs(const fs::path& File) {
  std::error_code ec;
  fs::path file = fs::absolute(File, ec);
  if (ec) file = File;
  // Relative names lead from the folder the form is in now (the working directory while it
  // has none) and must lead to the same files from its new folder.
  std::string from = Root()->FormFolder();
  if (from.empty()) from = fs::current_path(ec).string();
  const std::string to = file.parent_path().string();
  std::vector<std::pair<TQVRDatabase*, std::string>> moved;  // each with its name before
  std::vector<std::string> rewritten;
  for (TComponent* component : Components()) {
    auto* database = dynamic_cast<TQVRDatabase*>(component);
    if (!database || database->DatabaseFileName().empty() || database->DatabaseFileName().front() == '/') continue;
    const std::string name = database->DatabaseFileName();
    const std::string now = FormFileName((fs::path(from) / name).string(), to);
    if (now == name) continue;
    database->SetDatabaseFileName(now);
    moved.emplace_back(database, name);
    rewritten.push_back(database->Name() + ".DatabaseFileName = '" + now + "'");
  }
  try {
    FForm->SaveAs(file);
  } catch (...) {
    for (auto& [database, name] : moved) database->SetDatabaseFileName(name);
    throw;
  }
  SetModified(false);
  return rewritten;
}

void TDesignDocument::Save() {
  FForm->SaveIfUnchanged();
  SetModified(false);
}

void TDesignDocument::SaveOver() {
  FForm->Save();
  SetModified(false);
}

void TDesignDocument::Reload() {
  Rebuild([&] { FForm->Reload(); });
  SetModified(false);
}

std::vector<TComponent*> TDesignDocument::Components() const {
  std::vector<TComponent*> components;
  components.reserve(static_cast<size_t>(Root()->ComponentCount()));
  for (int i = 0; i < Root()->ComponentCount(); ++i) components.push_back(Root()->Components(i));
  return components;
}

std::string TDesignDocument::FreshName(TClass Class) const {
  std::string base = Class->Name;
  if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!Root()->FindComponent(name) && !SameText(name, Root()->Name())) return name;
  }
}

TComponent* TDesignDocument::AddComponent(TClass Class) {
  if (!Class || !Class->NewComponent || !Class->InheritsFrom(TComponent::StaticClass()))
    throw EComponentError((Class ? Class->Name : std::string("nil")) + " makes no components");
  std::string name = FreshName(Class);
  // Owned by the root from the start, so the root frees it on every path.
  TComponent* component = Class->NewComponent(Root());
  try {
    component->SetName(name);
  } catch (...) {
    FreeObject(component);
    throw;
  }
  component->SetDesigning(true);
  MarkModified();
  return component;
}

void TDesignDocument::DeleteComponents(const std::vector<TComponent*>& Components) {
  if (Components.empty()) return;
  for (TComponent* component : Components)
    if (component != Root() && component->Owner() == Root()) FreeObject(component);
  MarkModified();
}

void TDesignDocument::RenameComponent(TComponent* Component, const std::string& Name) {
  if (Component->Name() == Name) return;
  Component->SetName(Name);
  MarkModified();
}
