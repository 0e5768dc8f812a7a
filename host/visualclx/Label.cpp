// TLabel and the reference to its focus control.
#include "host/visualclx/Label.h"

#include "host/rtl/TypInfo.h"
#include "host/visualclx/WinControl.h"

TClass TLabel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TLabel>(TControl::StaticClass())
          .Component()
          .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
          .Object<TWinControl>("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
          .Event("OnClick", &TLabel::OnClick)
          .Build();
  return &info;
}

TLabel::TLabel(TComponent* Owner) : TControl(Owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = Value;
  if (FFocusControl) FreeNotification(FFocusControl);
  Changed(TControlChange::Property);
}

void TLabel::Notification(TComponent* Component, TOperation Operation) {
  TControl::Notification(Component, Operation);
  if (Operation == opRemove && Component == FFocusControl) FFocusControl = nullptr;
}
