// TComponent: ownership, names and free notifications.
#include "host/rtl/Component.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>

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

namespace {

// FNV-1a over the name with ASCII letters folded, as SameText compares them.
size_t NameHash(std::string_view Name) {
  uint64_t hash = 14695981039346656037ULL;
  for (char c : Name) {
    const auto u = static_cast<unsigned char>(c);
    hash = (hash ^ (u >= 'A' && u <= 'Z' ? u | 0x20U : u)) * 1099511628211ULL;
  }
  return static_cast<size_t>(hash);
}

// Takes Item out of List, searching from the end: components are made, and asked about, in
// order and mostly go away in the reverse order, so this is mostly one step.
void EraseLast(std::vector<TComponent*>& List, const TComponent* Item) {
  for (size_t i = List.size(); i-- > 0;)
    if (List[i] == Item) {
      List.erase(List.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
}

}  // namespace

// The slot a hash would take in a free table: the top bits of the hash spread by Fibonacci
// hashing, so that names alike in their last letters do not crowd together.
size_t TComponent::TNameTable::Home(size_t Hash) const {
  return static_cast<size_t>((static_cast<uint64_t>(Hash) * 0x9E3779B97F4A7C15ULL) >> FShift);
}

TComponent* TComponent::TNameTable::Find(std::string_view Name) const {
  if (FCount == 0) return nullptr;
  const size_t hash = NameHash(Name);
  const size_t mask = FSlots.size() - 1;
  for (size_t i = Home(hash);; i = (i + 1) & mask) {
    const TSlot& slot = FSlots[i];
    if (!slot.Component) return nullptr;
    if (slot.Hash == hash && SameText(slot.Component->FName, Name)) return slot.Component;
  }
}

void TComponent::TNameTable::Add(TComponent* Component) {
  if ((FCount + 1) * 2 > FSlots.size()) Grow();
  const size_t hash = NameHash(Component->FName);
  const size_t mask = FSlots.size() - 1;
  size_t i = Home(hash);
  while (FSlots[i].Component) i = (i + 1) & mask;
  FSlots[i] = {hash, Component};
  ++FCount;
}

void TComponent::TNameTable::Remove(const TComponent* Component) {
  if (FCount == 0) return;
  const size_t mask = FSlots.size() - 1;
  size_t i = Home(NameHash(Component->FName));
  while (FSlots[i].Component != Component) {
    if (!FSlots[i].Component) return;
    i = (i + 1) & mask;
  }
  // Closes the gap: a later slot of the run moves into it unless its home lies after the gap
  // (cyclically), where a search for it would stop at the gap.
  for (size_t j = (i + 1) & mask; FSlots[j].Component; j = (j + 1) & mask) {
    const size_t home = Home(FSlots[j].Hash);
    const bool reachable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
    if (reachable) {
      FSlots[i] = FSlots[j];
      i = j;
    }
  }
  FSlots[i] = TSlot{};
  --FCount;
}

void TComponent::TNameTable::Grow() {
  std::vector<TSlot> old = std::move(FSlots);
  const size_t size = old.empty() ? 8 : old.size() * 2;
  FSlots.assign(size, TSlot{});
  FShift = 64 - std::countr_zero(size);
  const size_t mask = size - 1;
  for (const TSlot& slot : old) {
    if (!slot.Component) continue;
    size_t i = Home(slot.Hash);
    while (FSlots[i].Component) i = (i + 1) & mask;
    FSlots[i] = slot;
  }
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
    EraseLast(other->FFreeNotifies, this);
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
  if (!Component->FName.empty()) FNames.Add(Component);
  Component->FOwner = this;
  if (FState.Contains(csDesigning)) Component->SetDesigning(true);
  Notification(Component, opInsert);
}

void TComponent::RemoveComponent(TComponent* Component) {
  Notification(Component, opRemove);
  EraseLast(FComponents, Component);
  if (!Component->FName.empty()) FNames.Remove(Component);
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
  return FNames.Find(Name);
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
  // The owner finds the component under its old name: out before the name changes, in again after.
  if (FOwner && !FName.empty()) FOwner->FNames.Remove(this);
  FName = NewName;
  if (FOwner && !FName.empty()) FOwner->FNames.Add(this);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  Value ? FState.Include(csDesigning) : FState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

// Each request is an entry in both lists, so that taking back one of two requests between the
// same components (each keeping a reference to the other) leaves the other standing.
void TComponent::FreeNotification(TComponent* Component) {
  if (!Component || Component == this) return;
  FFreeNotifies.push_back(Component);
  Component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* Component) {
  EraseLast(FFreeNotifies, Component);
  EraseLast(Component->FFreeNotifies, this);
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
  if (Operation == opRemove && Component) EraseLast(FFreeNotifies, Component);
}
