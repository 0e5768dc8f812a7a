// TDesignDocument: reading, changing and saving the form the design window edits.
#include "designhost/gui/DesignDocument.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/DataModule.h"
#include "host/visualclx/forms/FormReader.h"

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

TDesignDocument::TDesignDocument() : FRoot(std::make_unique<TDataModule>(nullptr)) {
  FRoot->SetName("DataModule1");
  FRoot->SetDesigning(true);
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::TDesignDocument(const fs::path& File) {
  std::error_code ec;
  fs::path file = fs::absolute(File, ec);
  if (ec) file = File;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw EInOutError("Cannot open form file '" + File.string() + "'");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw EInOutError("Cannot read form file '" + File.string() + "'");
  fs::path previous = fs::current_path(ec);
  fs::current_path(file.parent_path(), ec);
  if (ec) throw EInOutError("Cannot enter the folder of '" + File.string() + "': " + ec.message());
  try {
    FRoot = ReadRootComponent(text.str(), file.filename().string());
  } catch (...) {
    fs::current_path(previous, ec);
    throw;
  }
  FRoot->SetDesigning(true);
  FFile = file;
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::TDesignDocument(std::string_view Text, const fs::path& File)
    : FRoot(ReadRootComponent(Text, File.empty() ? "Untitled" : File.filename().string())), FFile(File) {
  FRoot->SetDesigning(true);
  FDesigner = std::make_unique<TDocumentDesigner>(*this);
}

TDesignDocument::~TDesignDocument() = default;

IDesigner& TDesignDocument::Designer() { return *FDesigner; }

std::string TDesignDocument::DisplayName() const { return Untitled() ? "Untitled" : FFile.filename().string(); }

void TDesignDocument::SetModified(bool Value) {
  if (Value == FModified) return;
  FModified = Value;
  if (FOnModifiedChanged) FOnModifiedChanged();
}

void TDesignDocument::MarkModified() { SetModified(true); }

void TDesignDocument::SaveAs(const fs::path& File) {
  std::error_code ec;
  fs::path file = fs::absolute(File, ec);
  if (ec) file = File;
  std::string text = WriteComponent(FRoot.get());
  fs::path temporary = file;
  temporary += ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      fs::remove(temporary, ec);
      throw EInOutError("Cannot write form file '" + file.string() + "'");
    }
  }
  fs::rename(temporary, file, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw EInOutError("Cannot replace form file '" + file.string() + "': " + ec.message());
  }
  FFile = file;
  SetModified(false);
}

void TDesignDocument::Save() {
  if (Untitled()) throw EInvalidOperation("The form has no file yet: save it under a name");
  SaveAs(FFile);
}

std::vector<TComponent*> TDesignDocument::Components() const {
  std::vector<TComponent*> components;
  for (int i = 0; i < FRoot->ComponentCount(); ++i) components.push_back(FRoot->Components(i));
  return components;
}

std::string TDesignDocument::FreshName(TClass Class) const {
  std::string base = Class->Name;
  if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!FRoot->FindComponent(name) && !SameText(name, FRoot->Name())) return name;
  }
}

TComponent* TDesignDocument::AddComponent(TClass Class) {
  if (!Class || !Class->NewComponent || !Class->InheritsFrom(TComponent::StaticClass()))
    throw EComponentError((Class ? Class->Name : std::string("nil")) + " makes no components");
  std::string name = FreshName(Class);
  // Owned by the root from the start, so the root frees it on every path.
  TComponent* component = Class->NewComponent(FRoot.get());
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
    if (component != FRoot.get() && component->Owner() == FRoot.get()) FreeObject(component);
  MarkModified();
}

void TDesignDocument::RenameComponent(TComponent* Component, const std::string& Name) {
  if (Component->Name() == Name) return;
  Component->SetName(Name);
  MarkModified();
}
