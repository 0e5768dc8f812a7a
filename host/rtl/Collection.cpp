// TCollection and TCollectionItem.
#include "host/rtl/Collection.h"

#include <algorithm>

#include "host/rtl/TypInfo.h"
#include "host/rtl/UpdateScope.h"

TClass TCollectionItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCollectionItem>(TPersistent::StaticClass()).Build();
  return &info;
}

TClass TCollection::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCollection>(TPersistent::StaticClass()).Build();
  return &info;
}

TClass TOwnedCollection::StaticClass() {
  static const TClassInfo info = TClassBuilder<TOwnedCollection>(TCollection::StaticClass()).Build();
  return &info;
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed() {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(this);
}

TCollection::TCollection(ItemFactory NewItem) : FNewItem(std::move(NewItem)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[static_cast<size_t>(Index)].get();
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  std::unique_ptr<TCollectionItem> item = FNewItem();
  item->FCollection = this;
  item->FID = FNextID++;
  TCollectionItem* raw = item.get();
  FItems.insert(FItems.begin() + Index, std::move(item));
  Changed();
  return raw;
}

void TCollection::Delete(int Index) {
  Items(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TCollection::Move(int CurIndex, int NewIndex) {
  Items(CurIndex);
  Items(NewIndex);
  auto item = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(item));
  Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (const auto& item : FItems)
    if (item->FID == ID) return item.get();
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TCollection*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  // Build the copies aside first, so a failing item copy leaves this collection as it was.
  std::vector<std::unique_ptr<TCollectionItem>> copies;
  copies.reserve(source->FItems.size());
  for (const auto& item : source->FItems) {
    std::unique_ptr<TCollectionItem> copy = FNewItem();
    copy->FCollection = this;
    copy->Assign(item.get());
    copies.push_back(std::move(copy));
  }
  TUpdateScope update(this);
  FItems = std::move(copies);
  for (auto& item : FItems) item->FID = FNextID++;
}

void TCollection::TakeItems(TCollection& Source) {
  if (&Source == this) return;
  std::vector<std::unique_ptr<TCollectionItem>> taken = std::move(Source.FItems);
  Source.FItems.clear();
  Source.Changed();
  TUpdateScope update(this);
  FItems = std::move(taken);
  for (auto& item : FItems) {
    item->FCollection = this;
    item->FID = FNextID++;
  }
}
