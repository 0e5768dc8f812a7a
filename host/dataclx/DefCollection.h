// TNamedItem and TDefCollection: the named definitions (fields, indexes) a data set owns,
// looked up by name without regard to case.
#pragma once

#include <string>
#include <string_view>

#include "host/dataclx/Forward.h"
#include "host/rtl/Collection.h"

class TNamedItem : public TCollectionItem {
  TIRVENDAL_CLASS(TNamedItem)

  TNamedItem() = default;
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  std::string DisplayName() const override { return FName; }

 private:
  std::string FName;
};

class TDefCollection : public TOwnedCollection {
  TIRVENDAL_CLASS(TDefCollection)

  // DataSet is the data set whose definitions these are (nil for a free-standing copy);
  // Owner is the object that holds the collection, usually the same data set.
  TDefCollection(TDataSet* DataSet, TPersistent* Owner, ItemFactory NewItem);

  TDataSet* DataSet() const { return FDataSet; }
  // True once the definitions have been read from the data set and not invalidated since.
  bool Updated() const { return FUpdated; }
  void SetUpdated(bool Value) { FUpdated = Value; }

  // The definition of that name (case-insensitive), or nil.
  TNamedItem* Find(std::string_view Name) const;
  // Its position, or -1.
  int IndexOf(std::string_view Name) const;
  // Adds each definition's name to List, in collection order; List is not cleared.
  void GetItemNames(TStrings* List) const;

 private:
  TDataSet* FDataSet;
  bool FUpdated = false;
};
