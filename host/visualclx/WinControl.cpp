// TWinControl: the controls a window holds and the focus order.
#include "host/visualclx/WinControl.h"

#include <algorithm>

#include "host/rtl/TypInfo.h"
#include "host/visualclx/Form.h"

TClass TWinControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWinControl>(TControl::StaticClass())
                                     .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1)
                                     .Build();
  return &info;
}

TWinControl::TWinControl(TComponent* Owner) : TControl(Owner) {}

TWinControl::~TWinControl() {
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(Format("Control index out of bounds (%d)", {Index}));
  return FControls[static_cast<size_t>(Index)];
}

void TWinControl::SetTabOrder(int Value) {
  if (Value == FTabOrder) return;
  FTabOrder = Value;
  Changed(TControlChange::Property);
}

void TWinControl::SetTabStop(bool Value) {
  if (Value == FTabStop) return;
  FTabStop = Value;
  Changed(TControlChange::Property);
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
  if (auto* window = dynamic_cast<TWinControl*>(Control); window && window->FTabOrder < 0) {
    int next = 0;
    for (TControl* c : FControls)
      if (auto* sibling = dynamic_cast<TWinControl*>(c); sibling && sibling != window)
        next = std::max(next, sibling->FTabOrder + 1);
    window->FTabOrder = next;
  }
  Changed(TControlChange::Children);
}

void TWinControl::RemoveControl(TControl* Control) {
  std::erase(FControls, Control);
  Changed(TControlChange::Children);
}

void TWinControl::TakeFocus() {
  if (!CanFocus()) return;
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetActiveControl(this);
}
