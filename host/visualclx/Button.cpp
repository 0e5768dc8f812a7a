// TButton: the click that ends a modal run.
#include "host/visualclx/Button.h"

#include "host/rtl/TypInfo.h"
#include "host/visualclx/Form.h"

TClass TButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TButton>(TWinControl::StaticClass())
                                     .Component()
                                     .String("Caption", &TButton::Caption, &TButton::SetCaption)
                                     .Boolean("Default", &TButton::Default, &TButton::SetDefault)
                                     .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
                                     .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
                                     .Event("OnClick", &TButton::OnClick)
                                     .Build();
  return &info;
}

TButton::TButton(TComponent* Owner) : TWinControl(Owner) {
  InitTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value) {
  if (Value == FDefault) return;
  FDefault = Value;
  Changed(TControlChange::Property);
}

void TButton::SetCancel(bool Value) {
  if (Value == FCancel) return;
  FCancel = Value;
  Changed(TControlChange::Property);
}

void TButton::SetModalResult(TModalResult Value) {
  if (Value == FModalResult) return;
  FModalResult = Value;
  Changed(TControlChange::Property);
}

void TButton::Click() {
  TakeFocus();
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TWinControl::Click();
}
