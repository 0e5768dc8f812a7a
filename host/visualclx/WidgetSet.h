// The widget-set interface: how the model's modal windows (forms, message boxes, open-file
// dialogs) reach a user, and the process-wide current set. Without one installed the
// headless set is current, which answers nothing.
#pragma once

#include "host/rtl/SysUtils.h"
#include "host/visualclx/Forward.h"
#include "host/visualclx/ModalResult.h"

// A modal window was opened with nobody to answer it.
TIRVENDAL_EXCEPTION(ENoUserError, EInvalidOperation);

class TWidgetSet {
 public:
  virtual ~TWidgetSet() = default;

  // Runs the user's actions on Form, which ShowModal has made visible and modal, until its
  // ModalResult is not mrNone. The actions reach the model through its User* entry points
  // (TButton::Click, TListBox::UserSelect, TCustomForm::UserKey, TCustomForm::UserClose, ...).
  virtual void RunModal(TCustomForm& Form) = 0;
  // Shows Box modally and answers the result of the button that closed it (MsgDlgBtnResult),
  // mrCancel when it was closed from its title bar.
  virtual TModalResult MessageBox(const TMessageBox& Box) = 0;
  // Runs Dialog modally: a user accepts a path through TOpenDialog::UserAccept (true), or
  // cancels (false).
  virtual bool ExecuteOpenDialog(TOpenDialog& Dialog) = 0;
  // Opens help on the topic of Context (never 0) beside the windows that are open. Help is not
  // modal: nobody has to answer it, and the caller goes on at once. A set with no help to show
  // (the headless one) shows nothing; a set that passes windows on to another passes this too.
  virtual void ShowHelp(int Context) {}
};

// The current widget set.
TWidgetSet& WidgetSet();
// Makes Set current (nil: the headless set) and answers the one that was current before.
TWidgetSet* SetWidgetSet(TWidgetSet* Set);

// Makes a widget set current for the life of the scope, then restores the one before.
class TWidgetSetScope {
 public:
  explicit TWidgetSetScope(TWidgetSet& Set) : FPrevious(SetWidgetSet(&Set)) {}
  ~TWidgetSetScope() { SetWidgetSet(FPrevious); }
  TWidgetSetScope(const TWidgetSetScope&) = delete;
  TWidgetSetScope& operator=(const TWidgetSetScope&) = delete;

 private:
  TWidgetSet* FPrevious;
};
