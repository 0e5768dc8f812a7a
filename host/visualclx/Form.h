// TCustomForm and TForm: a top-level window built from its stored description, shown
// modally through the current widget set; CreateForm makes one in its two phases.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/ModalResult.h"
#include "host/visualclx/ScrollingWinControl.h"

// A form class whose stored description cannot be found.
TIRVENDAL_EXCEPTION(EResNotFound, Exception);

// The keys a dialog answers on its own: Enter clicks the default button, Escape the cancel button.
enum class TDialogKey { Enter, Escape };

class TCustomForm : public TScrollingWinControl {
  TIRVENDAL_CLASS(TCustomForm)

  // The first phase only: the form has no controls yet. Make forms with CreateForm, which
  // runs AfterConstruction; a derived form's constructor must not touch its controls.
  explicit TCustomForm(TComponent* Owner);
  ~TCustomForm() override;

  // The second phase of construction. A class derived from TForm reads its stored
  // description, the resource named after its lower-case class name (EResNotFound when there
  // is none; EFormError when it does not read), which creates the controls, binds the
  // published fields and the events; then OnCreate runs.
  virtual void AfterConstruction();
  // Runs OnDestroy, once, while the whole form and its controls still exist; only for a form
  // whose OnCreate ran. TFormDeleter calls it, and so does the destruction of the form's owner;
  // code that frees a form by other means calls it first.
  void BeforeDestruction();

  // The control that has the keyboard focus; it must be on this form. While the form is shown
  // it must also be able to take the focus (EInvalidOperation otherwise).
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int Value);
  int TextWidth() const { return FTextWidth; }
  void SetTextWidth(int Value);

  // The result the modal run ends with; while it is mrNone the form stays open.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value);
  // True while ShowModal runs.
  bool Modal() const { return FModal; }

  // Shows the form modally through the current widget set and answers the result it closed
  // with. The form is made visible, OnShow runs, the focus goes to ActiveControl (or, when it
  // cannot take it, to the first control in focus order), and the widget set runs the user's
  // actions until ModalResult is not mrNone; then OnClose runs and the form is hidden again.
  // Errors raised meanwhile leave the form hidden and not modal.
  TModalResult ShowModal();
  // Closes the form: a modal form ends its run with mrCancel; a shown form runs OnClose and hides.
  void Close();

  // A user's key: Enter clicks the usable default button, Escape the usable cancel button
  // (TButton::Click). Answers the button clicked, or nil when there is none.
  TButton* UserKey(TDialogKey Key);
  // The close button of the window's title bar.
  void UserClose() { Close(); }

  // Every control on the form, at any depth, in the order they were constructed.
  std::vector<TControl*> AllControls() const;
  // The control on the form of that name (case-insensitive), or nil.
  TControl* FindControl(std::string_view ControlName) const;
  // Moves the focus to the first control in focus order that can take it (nil when none can).
  void FocusFirstControl();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  TWinControl* FActiveControl = nullptr;
  int FPixelsPerInch = 96;
  int FTextHeight = 0;
  int FTextWidth = 0;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FCreated = false;    // OnCreate has been started
  bool FDestroyed = false;  // OnDestroy has been run
};

class TForm : public TCustomForm {
  TIRVENDAL_CLASS(TForm)

  explicit TForm(TComponent* Owner) : TCustomForm(Owner) {}
};

// Frees a form the way it must go: OnDestroy first, while the derived form still exists.
struct TFormDeleter {
  void operator()(TCustomForm* Form) const noexcept;
};

template <class T>
using TFormPtr = std::unique_ptr<T, TFormDeleter>;

// Makes a form of class T with no owner, in both phases (see AfterConstruction). A failure
// frees what was made and goes on to the caller.
template <class T>
TFormPtr<T> CreateForm() {
  TFormPtr<T> form(new T(nullptr));
  form->AfterConstruction();
  return form;
}

// Makes a form of class T owned by Owner, which frees it (OnDestroy first).
template <class T>
T* CreateForm(TComponent& Owner) {
  TFormPtr<T> form(new T(&Owner));
  form->AfterConstruction();
  return form.release();
}
