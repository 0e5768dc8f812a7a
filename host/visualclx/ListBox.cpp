// TListBox: items, selection and the user's clicks.
#include "host/visualclx/ListBox.h"

#include "host/rtl/TypInfo.h"

TClass TListBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TListBox>(TWinControl::StaticClass())
                                     .Component()
                                     .Enum("Color", &TListBox::Color, &TListBox::SetColor, ColorTypeInfo(), clBase)
                                     .Object<TStrings>("Items", &TListBox::Items, &TListBox::SetItems)
                                     .Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect)
                                     .Event("OnClick", &TListBox::OnClick)
                                     .Build();
  return &info;
}

TListBox::TListBox(TComponent* Owner) : TWinControl(Owner), FItems(std::make_unique<TListControlItems>(this)) {
  InitTabStop(true);
  SetColor(clBase);
  SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

int TListBox::SelCount() const { return MultiSelect() ? static_cast<int>(SelectedIndexes().size()) : -1; }

void TListBox::UserSelect(int Index) {
  FItems->SelectOnly(Index);
  TakeFocus();
  Click();
}

void TListBox::UserToggle(int Index) {
  FItems->Toggle(Index);
  TakeFocus();
  Click();
}
