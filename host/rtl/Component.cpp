// TComponent: ownership, names and free notifications.
#include "host/rtl/Component.h"

#include <algorithm>
#include <cctype>

#include "host/rtl/TypInfo.h"

TClass TComponent::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComponent>(TPersistent::StaticClass())
                                     .Component()
                                     .String("Name", &TComponent::Name, &TComponent::SetName)
                                     .NotStored()
                                     .Integer("Tag", &TComponent::Tag, &TComponent::SetTag)
                                     .Build();
  return &info;
}

bool IsValidIdent(std::string_view ident) {
  if (ident.empty() || ident.size() > kMaxIdentLength) return false;
  auto ok = [](char c, bool first) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || (!first && std::isdigit(u));
  };
  if (!ok(ident[0], true)) return false;
  return std::all_of(ident.begin() + 1, ident.end(), [&](char c) { return ok(c, false); });
}

TComponent::TComponent(TComponent* Owner) {
  if (Owner) Owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FState.Include(csDestroying);
  // Tell everyone who asked that this component is going away.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) FreeObject(FComponents.back());  // each removes itself
}

void TComponent::InsertComponent(TComponent* Component) {
  if (!Component->FName.empty() && FindComponent(Component->FName))
    throw EComponentError("A component named " + Component->FName + " already exists");
  FComponents.push_back(Component);
  Component->FOwner = this;
  if (FState.Contains(csDesigning)) Component->SetDesigning(true);
  Notification(Component, opInsert);
}

void TComponent::RemoveComponent(TComponent* Component) {
  Notification(Component, opRemove);
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), Component), FComponents.end());
  Component->FOwner = nullptr;
}

void TComponent::ChangeOwner(TComponent* NewOwner) {
  if (NewOwner == FOwner) return;
  if (NewOwner && !FName.empty() && NewOwner->FindComponent(FName))
    throw EComponentError("A component named " + FName + " already exists");
  if (FOwner) FOwner->RemoveComponent(this);
  if (NewOwner) NewOwner->InsertComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& siblings = FOwner->FComponents;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view Name) const {
  if (Name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, Name)) return c;
  return nullptr;
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == FName) return;
  if (NewName.size() > kMaxIdentLength)
    throw EComponentError(Format("A component name of %d characters is longer than the %d that count",
                                 {static_cast<int>(NewName.size()), static_cast<int>(kMaxIdentLength)}));
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner && !NewName.empty()) {
    TComponent* other = FOwner->FindComponent(NewName);
    if (other && other != this) throw EComponentError("A component named " + NewName + " already exists");
  }
  FName = NewName;
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  Value ? FState.Include(csDesigning) : FState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::FreeNotification(TComponent* Component) {
  if (!Component || Component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), Component) == FFreeNotifies.end())
    FFreeNotifies.push_back(Component);
  auto& back = Component->FFreeNotifies;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* Component) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), Component), FFreeNotifies.end());
  auto& back = Component->FFreeNotifies;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded() { FState.Exclude(csLoading); }

std::string TComponent::FormFolder() const {
  for (const TComponent* c = this; c; c = c->FOwner)
    if (!c->FFormFolder.empty()) return c->FFormFolder;
  return {};
}

namespace {

thread_local TLoadWarnings* CurrentLoadWarnings = nullptr;

}  // namespace

TLoadWarnings::TLoadWarnings() : FPrevious(CurrentLoadWarnings) { CurrentLoadWarnings = this; }

TLoadWarnings::~TLoadWarnings() { CurrentLoadWarnings = FPrevious; }

bool TLoadWarnings::Report(const TComponent* Component, const std::string& Message) {
  if (!CurrentLoadWarnings) return false;
  std::string name = Component ? Component->Name() : std::string();
  // An error that already names the component ("Orders: ...") is not named twice.
  std::string_view text = Message;
  if (!name.empty() && text.size() > name.size() + 2 && text.substr(0, name.size()) == name &&
      text.substr(name.size(), 2) == ": ")
    text.remove_prefix(name.size() + 2);
  CurrentLoadWarnings->FItems.push_back({std::move(name), std::string(text)});
  return true;
}

void TComponent::Notification(TComponent* Component, TOperation Operation) {
  if (Operation == opRemove && Component) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), Component), FFreeNotifies.end());
  }
  for (TComponent* c : FComponents) c->Notification(Component, Operation);
}
