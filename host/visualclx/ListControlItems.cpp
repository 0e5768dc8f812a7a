// TListControlItems: list items with their current item and selection kept in step.
#include "host/visualclx/ListControlItems.h"

#include <algorithm>
#include <memory>

#include "host/rtl/TypInfo.h"

TClass TListControlItems::StaticClass() {
  static const TClassInfo info = TClassBuilder<TListControlItems>(TStrings::StaticClass()).Build();
  return &info;
}

TListControlItems::~TListControlItems() {
  for (TItem* item : FItems) delete item;
}

std::string TListControlItems::Get(int Index) const {
  CheckIndex(Index, Count());
  return Item(Index).Text;
}

TObject* TListControlItems::GetObject(int Index) const {
  CheckIndex(Index, Count());
  return Item(Index).Object;
}

void TListControlItems::Put(int Index, const std::string& S) {
  CheckIndex(Index, Count());
  Item(Index).Text = S;
  Notify(TControlChange::Items);
}

void TListControlItems::PutObject(int Index, TObject* Object) {
  CheckIndex(Index, Count());
  Item(Index).Object = Object;
}

void TListControlItems::InsertObject(int Index, const std::string& S, TObject* Object) {
  CheckIndex(Index, Count() + 1);
  auto item = std::make_unique<TItem>(TItem{S, Object, false});
  FItems.insert(FItems.begin() + Index, item.get());
  static_cast<void>(item.release());  // the list owns it now
  if (FItemIndex >= Index) ++FItemIndex;
  Notify(TControlChange::Items);
}

void TListControlItems::Delete(int Index) {
  CheckIndex(Index, Count());
  std::unique_ptr<TItem> gone(FItems[static_cast<size_t>(Index)]);
  FItems.erase(FItems.begin() + Index);
  if (FItemIndex == Index)
    FItemIndex = -1;
  else if (FItemIndex > Index)
    --FItemIndex;
  Notify(TControlChange::Items);
}

void TListControlItems::Clear() {
  if (FItems.empty() && FItemIndex == -1) return;
  for (TItem* item : FItems) delete item;
  FItems.clear();
  FItemIndex = -1;
  Notify(TControlChange::Items);
}

void TListControlItems::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  auto from = FItems.begin() + CurIndex, to = FItems.begin() + NewIndex;
  if (CurIndex < NewIndex)
    std::rotate(from, from + 1, to + 1);
  else
    std::rotate(to, from, from + 1);
  if (FItemIndex == CurIndex)
    FItemIndex = NewIndex;
  else if (CurIndex < FItemIndex && NewIndex >= FItemIndex)
    --FItemIndex;
  else if (CurIndex > FItemIndex && NewIndex <= FItemIndex)
    ++FItemIndex;
  Notify(TControlChange::Items);
}

void TListControlItems::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  if (Index1 == Index2) return;
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  if (FItemIndex == Index1)
    FItemIndex = Index2;
  else if (FItemIndex == Index2)
    FItemIndex = Index1;
  Notify(TControlChange::Items);
}

void TListControlItems::SetCurrent(int Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  Notify(TControlChange::ItemIndex);
}

void TListControlItems::SetItemIndex(int Value) { SetCurrent(Value); }

void TListControlItems::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  FMultiSelect = Value;
  // What shows as selected stays so: the current item alone.
  for (auto& item : FItems) item->Selected = false;
  if (FMultiSelect && FItemIndex >= 0) Item(FItemIndex).Selected = true;
  Notify(TControlChange::Selection);
}

bool TListControlItems::Selected(int Index) const {
  CheckIndex(Index, Count());
  return FMultiSelect ? Item(Index).Selected : Index == FItemIndex;
}

void TListControlItems::SetSelected(int Index, bool Value) {
  CheckIndex(Index, Count());
  if (!FMultiSelect) {
    if (Value)
      SetCurrent(Index);
    else if (Index == FItemIndex)
      SetCurrent(-1);
    return;
  }
  TItem& item = Item(Index);
  if (item.Selected == Value) return;
  item.Selected = Value;
  Notify(TControlChange::Selection);
}

std::vector<int> TListControlItems::SelectedIndexes() const {
  std::vector<int> result;
  for (int i = 0; i < Count(); ++i)
    if (Selected(i)) result.push_back(i);
  return result;
}

void TListControlItems::SelectOnly(int Index) {
  CheckIndex(Index, Count());
  if (FMultiSelect) {
    for (int i = 0; i < Count(); ++i) Item(i).Selected = i == Index;
    Notify(TControlChange::Selection);
  }
  SetCurrent(Index);
}

void TListControlItems::Toggle(int Index) {
  CheckIndex(Index, Count());
  if (!FMultiSelect) throw EInvalidOperation("Items can be toggled only in a multi-select list");
  Item(Index).Selected = !Item(Index).Selected;
  Notify(TControlChange::Selection);
  SetCurrent(Index);
}

void TListControlItems::Notify(TControlChange Change) {
  if (UpdateCount() > 0) {
    if (std::find(FPending.begin(), FPending.end(), Change) == FPending.end()) FPending.push_back(Change);
    return;
  }
  FControl->Changed(Change);
}

void TListControlItems::SetUpdateState(bool Updating) {
  if (Updating) return;
  std::vector<TControlChange> pending;
  pending.swap(FPending);
  for (TControlChange change : pending) FControl->Changed(change);
}
