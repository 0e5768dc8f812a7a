// TComboBox: entries, the chosen one, its text, and the user's choice.
#include "host/visualclx/ComboBox.h"

#include "host/rtl/TypInfo.h"

const TEnumInfo& ComboBoxStyleTypeInfo() {
  static const TEnumInfo info{"TComboBoxStyle",
                              {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
  return info;
}

TClass TComboBox::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TComboBox>(TWinControl::StaticClass())
          .Component()
          .Enum("Color", &TComboBox::Color, &TComboBox::SetColor, ColorTypeInfo(), clBase)
          .Enum("Style", &TComboBox::Style, &TComboBox::SetStyle, ComboBoxStyleTypeInfo(), csDropDown)
          .Integer("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight, 16)
          .Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, 8)
          .Object<TStrings>("Items", &TComboBox::Items, &TComboBox::SetItems)
          .String("Text", &TComboBox::Text, &TComboBox::SetText)
          .Event("OnChange", &TComboBox::OnChange)
          .Event("OnClick", &TComboBox::OnClick)
          .Build();
  return &info;
}

TComboBox::TComboBox(TComponent* Owner) : TWinControl(Owner), FItems(std::make_unique<TListControlItems>(this)) {
  InitTabStop(true);
  SetColor(clBase);
  SetBounds(0, 0, 145, 24);
  // A choice replaces the edit text of the editable styles.
  AddObserver([](TControl* Sender, TControlChange Change) {
    if (Change == TControlChange::ItemIndex) static_cast<TComboBox*>(Sender)->ItemIndexChanged();
  });
}

TComboBox::~TComboBox() = default;

void TComboBox::ItemIndexChanged() {
  if (ItemIndex() >= 0) FEditText = FItems->Get(ItemIndex());
}

void TComboBox::Clear() {
  FItems->Clear();
  FEditText.clear();
}

void TComboBox::SetItemIndex(int Value) { FItems->SetItemIndex(Value); }

std::string TComboBox::Text() const {
  if (Editable()) return FEditText;
  return ItemIndex() >= 0 ? FItems->Get(ItemIndex()) : std::string();
}

void TComboBox::SetText(const std::string& Value) {
  int index = -1;
  for (int i = 0; i < FItems->Count() && index < 0; ++i)
    if (FItems->Get(i) == Value) index = i;
  if (index < 0) index = FItems->IndexOf(Value);
  FItems->SetItemIndex(index);
  if (Editable() && FEditText != Value) {
    FEditText = Value;
    Changed(TControlChange::Caption);
  }
}

void TComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed(TControlChange::Property);
}

void TComboBox::SetItemHeight(int Value) {
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  Changed(TControlChange::Property);
}

void TComboBox::SetDropDownCount(int Value) {
  if (Value == FDropDownCount) return;
  FDropDownCount = Value;
  Changed(TControlChange::Property);
}

void TComboBox::UserSelect(int Index) {
  if (Index < 0 || Index >= FItems->Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  bool changed = Index != ItemIndex();
  FItems->SetItemIndex(Index);
  TakeFocus();
  if (changed) OnChange(this);
  Click();
}
