// TLabel: a caption on a form; its FocusControl is the control its accelerator key reaches.
#pragma once

#include "host/visualclx/Control.h"

class TLabel : public TControl {
  TIRVENDAL_CLASS(TLabel)

  explicit TLabel(TComponent* Owner);

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

 protected:
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  TWinControl* FFocusControl = nullptr;
};
