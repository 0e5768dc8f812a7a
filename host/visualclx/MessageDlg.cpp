// Message boxes: names, buttons and results.
#include "host/visualclx/MessageDlg.h"

#include <array>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/WidgetSet.h"

namespace {

constexpr std::array<const char*, 11> kButtonCaptions = {"Yes",    "No",  "OK",      "Cancel",   "Abort", "Retry",
                                                         "Ignore", "All", "NoToAll", "YesToAll", "Help"};
constexpr std::array<TModalResult, 11> kButtonResults = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                                         mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};

}  // namespace

const char* MsgDlgTypeName(TMsgDlgType Type) {
  static constexpr std::array<const char*, 5> names = {"warning", "error", "information", "confirmation", "custom"};
  return names[static_cast<size_t>(Type)];
}

const char* MsgDlgBtnCaption(TMsgDlgBtn Button) { return kButtonCaptions[static_cast<size_t>(Button)]; }

TModalResult MsgDlgBtnResult(TMsgDlgBtn Button) { return kButtonResults[static_cast<size_t>(Button)]; }

std::vector<TMsgDlgBtn> TMessageBox::ButtonList() const {
  std::vector<TMsgDlgBtn> result;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) result.push_back(static_cast<TMsgDlgBtn>(b));
  // A box nobody could close is no use: it shows OK then.
  if (result.empty() || (result.size() == 1 && result[0] == mbHelp)) result.insert(result.begin(), mbOK);
  return result;
}

namespace {

std::optional<TMsgDlgBtn> FirstOf(const std::vector<TMsgDlgBtn>& shown, std::initializer_list<TMsgDlgBtn> wanted) {
  for (TMsgDlgBtn w : wanted)
    for (TMsgDlgBtn b : shown)
      if (b == w) return b;
  return std::nullopt;
}

}  // namespace

std::optional<TMsgDlgBtn> TMessageBox::DefaultButton() const { return FirstOf(ButtonList(), {mbOK, mbYes, mbRetry}); }

std::optional<TMsgDlgBtn> TMessageBox::CancelButton() const { return FirstOf(ButtonList(), {mbCancel, mbNo, mbOK}); }

std::optional<TMsgDlgBtn> TMessageBox::FindButton(std::string_view Caption) const {
  for (TMsgDlgBtn b : ButtonList())
    if (SameText(MsgDlgBtnCaption(b), Caption)) return b;
  return std::nullopt;
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return WidgetSet().MessageBox(TMessageBox{Msg, DlgType, Buttons, HelpCtx});
}
