// TComboBox: a drop-down list of texts from which a user chooses one; the editable styles
// also take a typed text.
#pragma once

#include <memory>
#include <string>

#include "host/visualclx/ListControlItems.h"
#include "host/visualclx/WinControl.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

const TEnumInfo& ComboBoxStyleTypeInfo();

class TComboBox : public TWinControl {
  TIRVENDAL_CLASS(TComboBox)

  explicit TComboBox(TComponent* Owner);
  ~TComboBox() override;

  TStrings* Items() const { return FItems.get(); }
  // Copies the texts and objects of Value; nothing is chosen afterwards.
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear();

  // The chosen entry (-1: none). Setting it from code fires nothing; a position that is not an
  // entry gives -1. Deleting the chosen entry leaves nothing chosen.
  int ItemIndex() const { return FItems->ItemIndex(); }
  void SetItemIndex(int Value);
  // The chosen entry's text, empty when none is chosen. In the editable styles (csDropDown,
  // csSimple) the text in the edit field, which a choice replaces.
  std::string Text() const;
  // Chooses the entry of that text (the same text first, else the same without regard to
  // case; none when there is no such entry); the editable styles keep the text as given.
  // Fires nothing.
  void SetText(const std::string& Value);

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool Editable() const { return FStyle == csDropDown || FStyle == csSimple; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);

  // A user's choice of entry Index: it becomes the chosen entry and the box takes the focus;
  // OnChange runs when the choice differs from the one before, then OnClick runs.
  void UserSelect(int Index);

  TNotifyEvent OnChange;

 private:
  void ItemIndexChanged();

  std::unique_ptr<TListControlItems> FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FItemHeight = 16;
  int FDropDownCount = 8;
  std::string FEditText;  // the editable styles' text
};
