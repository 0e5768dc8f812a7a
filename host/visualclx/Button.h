// TButton: a push button; Default and Cancel make it answer Enter and Escape, ModalResult
// ends the modal run of its form.
#pragma once

#include "host/visualclx/ModalResult.h"
#include "host/visualclx/WinControl.h"

class TButton : public TWinControl {
  TIRVENDAL_CLASS(TButton)

  explicit TButton(TComponent* Owner);

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value);

  // A click, as a user's: the button takes the focus, its form's ModalResult becomes the
  // button's, and then OnClick runs; a handler that sets the form's ModalResult back to
  // mrNone keeps the form open.
  void Click() override;

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};
