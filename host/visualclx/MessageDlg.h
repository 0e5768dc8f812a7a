// MessageDlg: the modal message box, shown through the current widget set, and TMessageBox,
// what a widget set is given to show: text, kind, buttons and the rules for Enter and Escape.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/rtl/Object.h"
#include "host/visualclx/ModalResult.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// "warning", "error", "information", "confirmation", "custom".
const char* MsgDlgTypeName(TMsgDlgType Type);
// The button's caption without accelerator: "Yes", "OK", "NoToAll", ...
const char* MsgDlgBtnCaption(TMsgDlgBtn Button);
// The modal result a button answers: mbOK gives mrOk, mbYes mrYes, ...; mbHelp gives mrNone,
// as it opens help and leaves the box open.
TModalResult MsgDlgBtnResult(TMsgDlgBtn Button);

struct TMessageBox {
  std::string Text;
  TMsgDlgType DlgType = mtInformation;
  TMsgDlgButtons Buttons;
  int HelpContext = 0;

  // The buttons in the order they are shown (their ordinal order); a box given no button shows OK.
  std::vector<TMsgDlgBtn> ButtonList() const;
  // The button Enter presses: OK, else Yes, else Retry, else none.
  std::optional<TMsgDlgBtn> DefaultButton() const;
  // The button Escape presses: Cancel, else No, else OK, else none.
  std::optional<TMsgDlgBtn> CancelButton() const;
  // The shown button of that caption (case-insensitive), or none.
  std::optional<TMsgDlgBtn> FindButton(std::string_view Caption) const;
};

// Shows a modal message box and answers the modal result of the button that closed it
// (mrCancel when it was closed from its title bar).
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
