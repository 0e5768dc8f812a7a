// TWinControl: a control that holds other controls and can take the keyboard focus.
#pragma once

#include <vector>

#include "host/visualclx/Control.h"

class TWinControl : public TControl {
  TIRVENDAL_CLASS(TWinControl)

  explicit TWinControl(TComponent* Owner);
  // The controls it holds stay with their owner; they are only taken out of this window.
  ~TWinControl() override;

  // The controls this window holds, in the order they were placed in it.
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;

  // The position in the focus order among the window's siblings; a control placed without one
  // gets the next free number. -1: not placed yet.
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int Value);
  // Whether Tab and the form's first focus reach the control (a click always does).
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // The control could take the focus now: usable by a user.
  bool CanFocus() const { return Usable(); }

 protected:
  // Set by the kinds a user tabs to (buttons, lists).
  void InitTabStop(bool Value) { FTabStop = Value; }
  // A user's click moves the focus to the control it reaches, when the control can take it.
  void TakeFocus();

 private:
  friend class TControl;
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);

  std::vector<TControl*> FControls;  // not owned
  int FTabOrder = -1;
  bool FTabStop = false;
};
