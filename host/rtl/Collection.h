// TCollection: an owned, ordered list of items of one class, such as index definitions.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "host/rtl/Persistent.h"

class TCollectionItem : public TPersistent {
  TIRVENDAL_CLASS(TCollectionItem)

  TCollectionItem() = default;
  TCollection* Collection() const { return FCollection; }
  int Index() const;
  int ID() const { return FID; }
  virtual std::string DisplayName() const { return ClassName(); }
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection that this item changed.
  void Changed();

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  TIRVENDAL_CLASS(TCollection)

  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;
  explicit TCollection(ItemFactory NewItem);
  ~TCollection() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  void Move(int CurIndex, int NewIndex);
  TCollectionItem* FindItemID(int ID) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Replaces the items by copies of Source's items (each copied with its own Assign).
  void Assign(const TPersistent* Source) override;
  // Replaces the items by Source's own, which Source gives up: nothing is copied. Source's
  // items must be of the class this collection makes.
  void TakeItems(TCollection& Source);

 protected:
  // Told after an item changed (Item) or the list changed (nil), outside update brackets.
  virtual void Update(TCollectionItem* Item) {}
  void Changed();

 private:
  friend class TCollectionItem;
  ItemFactory FNewItem;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
};

// A collection that names an owner, so its items can say whose they are.
class TOwnedCollection : public TCollection {
  TIRVENDAL_CLASS(TOwnedCollection)

  TOwnedCollection(TPersistent* Owner, ItemFactory NewItem) : TCollection(std::move(NewItem)), FOwner(Owner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
