// TNamedItem and TDefCollection.
#include "host/dataclx/DefCollection.h"

#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"
#include "host/rtl/UpdateScope.h"

TClass TNamedItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TNamedItem>(TCollectionItem::StaticClass())
                                     .String("Name", &TNamedItem::Name, &TNamedItem::SetName)
                                     .Build();
  return &info;
}

TClass TDefCollection::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDefCollection>(TOwnedCollection::StaticClass()).Build();
  return &info;
}

void TNamedItem::SetName(const std::string& Value) {
  if (Value == FName) return;
  FName = Value;
  Changed();
}

TDefCollection::TDefCollection(TDataSet* DataSet, TPersistent* Owner, ItemFactory NewItem)
    : TOwnedCollection(Owner, std::move(NewItem)), FDataSet(DataSet) {}

TNamedItem* TDefCollection::Find(std::string_view Name) const {
  int index = IndexOf(Name);
  return index < 0 ? nullptr : static_cast<TNamedItem*>(TCollection::Items(index));
}

int TDefCollection::IndexOf(std::string_view Name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(static_cast<TNamedItem*>(TCollection::Items(i))->Name(), Name)) return i;
  return -1;
}

void TDefCollection::GetItemNames(TStrings* List) const {
  TUpdateScope update(List);
  for (int i = 0; i < Count(); ++i) List->Add(static_cast<TNamedItem*>(TCollection::Items(i))->Name());
}
