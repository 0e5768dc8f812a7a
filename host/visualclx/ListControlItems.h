// TListControlItems: the items of a list box or combo box. Besides the texts and their
// objects it keeps the current item and, in a multi-select list, each item's selection, in
// step through every list operation: an item keeps its state wherever it moves, and a current
// item that no longer exists is cleared. None of this fires the control's events.
#pragma once

#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/visualclx/Control.h"

class TListControlItems : public TStrings {
  TIRVENDAL_CLASS(TListControlItems)

  // Control is told of every change (TControlChange::Items for the texts and their order,
  // ItemIndex and Selection for the rest); it must outlive the items.
  explicit TListControlItems(TControl* Control) : FControl(Control) {}
  ~TListControlItems() override;

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  // Replaces the text only: the item stays current and selected if it was.
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* Object) override;
  // An insertion before the current item moves it along, so the same item stays current.
  void InsertObject(int Index, const std::string& S, TObject* Object) override;
  // Deleting the current item leaves no current item.
  void Delete(int Index) override;
  void Clear() override;
  // The moved item keeps its selection; the current item stays the same item.
  void Move(int CurIndex, int NewIndex) override;
  void Exchange(int Index1, int Index2) override;

  // The current item, -1 for none. Setting a position that is not an item gives -1.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // Without MultiSelect the selected item is the current item. With it, the selection is kept
  // per item and ItemIndex is only the item that has the focus.
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  // The positions of the selected items, in ascending order.
  std::vector<int> SelectedIndexes() const;

  // A plain click on an item: it becomes the current and only selected item.
  void SelectOnly(int Index);
  // A Ctrl+click in a multi-select list: the item's selection flips and it becomes current.
  void Toggle(int Index);

  TPersistent* GetOwner() const override { return FControl; }

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
    bool Selected = false;  // kept only in a multi-select list
  };
  TItem& Item(int Index) const { return *FItems[static_cast<size_t>(Index)]; }
  void Notify(TControlChange Change);
  void SetCurrent(int Value);

  TControl* FControl;
  // Each item on its own and owned here, so an insertion or a deletion in a long list moves
  // plain pointers (one memmove) rather than the items or smart pointers one by one.
  std::vector<TItem*> FItems;
  int FItemIndex = -1;
  bool FMultiSelect = false;
  std::vector<TControlChange> FPending;  // changes made inside BeginUpdate/EndUpdate
};
