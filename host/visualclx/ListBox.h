// TListBox: a list of texts from which a user picks one item, or several with MultiSelect.
#pragma once

#include <memory>
#include <vector>

#include "host/visualclx/ListControlItems.h"
#include "host/visualclx/WinControl.h"

class TListBox : public TWinControl {
  TIRVENDAL_CLASS(TListBox)

  explicit TListBox(TComponent* Owner);
  ~TListBox() override;

  // The items, with the current item and the selection kept in step (see TListControlItems).
  TStrings* Items() const { return FItems.get(); }
  // Copies the texts and objects of Value; no item is current or selected afterwards.
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear() { FItems->Clear(); }

  // The current item (-1: none). Setting it from code fires nothing; a position that is not an
  // item gives -1. In a single-select list the current item is the selected one; in a
  // multi-select list it is only the focused item: select with SetSelected.
  int ItemIndex() const { return FItems->ItemIndex(); }
  void SetItemIndex(int Value) { FItems->SetItemIndex(Value); }
  bool MultiSelect() const { return FItems->MultiSelect(); }
  void SetMultiSelect(bool Value) { FItems->SetMultiSelect(Value); }
  bool Selected(int Index) const { return FItems->Selected(Index); }
  void SetSelected(int Index, bool Value) { FItems->SetSelected(Index, Value); }
  // The number of selected items of a multi-select list; -1 for a single-select list.
  int SelCount() const;
  std::vector<int> SelectedIndexes() const { return FItems->SelectedIndexes(); }

  // A user's click on item Index: it becomes the current and only selected item, the list
  // takes the focus, then OnClick runs.
  void UserSelect(int Index);
  // A user's Ctrl+click on item Index of a multi-select list: its selection flips, it becomes
  // the current item, the list takes the focus, then OnClick runs. EInvalidOperation in a
  // single-select list.
  void UserToggle(int Index);

 private:
  std::unique_ptr<TListControlItems> FItems;
};
