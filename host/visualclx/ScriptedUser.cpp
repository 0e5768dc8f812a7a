// The scripted user: script lines performed on the window on top through the model's user
// entry points.
#include "host/visualclx/ScriptedUser.h"

#include <filesystem>

#include "host/rtl/NearestWord.h"
#include "host/rtl/SafeFile.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/ListBox.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/WindowJson.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Splits "NAME REST" at the first blank; REST starts after that one blank.
std::pair<std::string, std::string> SplitWord(const std::string& text) {
  size_t blank = 0;
  while (blank < text.size() && !IsBlank(text[blank])) ++blank;
  if (blank == text.size()) return {text, std::string()};
  return {text.substr(0, blank), text.substr(blank + 1)};
}

std::string FormTitle(const TCustomForm& form) {
  return "the form " + (form.Name().empty() ? form.ClassName() : form.Name());
}

const char* RefusalReason(TFileAcceptance acceptance) {
  switch (acceptance) {
    case TFileAcceptance::FileNotFound:
      return "file not found";
    case TFileAcceptance::PathNotFound:
      return "path not found";
    case TFileAcceptance::IsFolder:
      return "is a folder";
    case TFileAcceptance::Accepted:
      break;
  }
  return "";
}

// A caption as the person reads it: without the '&' that marks the accelerator ("&&" is one '&').
std::string ReadCaption(const std::string& Caption) {
  std::string text;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
    text += Caption[i];
  }
  return text;
}

// "no control named 'OK'; did you mean 'Button1' (OK)?": a script may name a control by what
// it reads on the screen, so a caption is as good a clue as a name.
std::string NoSuchControl(const TCustomForm& Form, const std::string& ControlName) {
  std::vector<TControl*> controls = Form.AllControls();
  std::vector<std::string> names, captions;
  for (const TControl* control : controls) {
    names.push_back(control->Name());
    captions.push_back(ReadCaption(control->Caption()));
  }
  const TControl* meant = nullptr;
  for (size_t i = 0; i < controls.size() && !meant; ++i)
    if (!captions[i].empty() && SameText(captions[i], ControlName)) meant = controls[i];
  for (const std::vector<std::string>* words : {&names, &captions}) {
    if (meant) break;
    std::string nearest = NearestWord(ControlName, *words);
    for (size_t i = 0; i < controls.size() && !meant && !nearest.empty(); ++i)
      if ((*words)[i] == nearest) meant = controls[i];
  }
  if (!meant) return "no control named " + Quoted(ControlName) + " on " + FormTitle(Form);
  std::string caption = ReadCaption(meant->Caption());
  return "no control named " + Quoted(ControlName) + "; did you mean " + Quoted(meant->Name()) +
         (caption.empty() ? "" : " (" + caption + ")") + "?";
}

}  // namespace

TScriptedUser::TScriptedUser(std::string_view Script, std::ostream& Out, std::string ScriptName)
    : FScriptName(std::move(ScriptName)), FOut(Out) {
  int number = 0;
  size_t start = 0;
  while (start < Script.size()) {
    size_t end = Script.find('\n', start);
    std::string line(Script.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    start = end == std::string_view::npos ? Script.size() : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    auto [verb, rest] = SplitWord(line.substr(first));
    FActions.push_back({number, AnsiLowerCase(verb), rest});
  }
  FLineCount = number;
}

std::unique_ptr<TScriptedUser> TScriptedUser::FromFile(const std::string& FileName, std::ostream& Out) {
  constexpr size_t kMaxScriptSize = size_t{16} << 20;
  return std::make_unique<TScriptedUser>(ReadRegularFile(FileName, "script", kMaxScriptSize), Out, FileName);
}

void TScriptedUser::CheckFinished() const {
  if (Finished()) return;
  const TAction& left = FActions[FNext];
  size_t count = FActions.size() - FNext;
  throw EScriptError(FScriptName, left.Line,
                     Format("%d line(s) left over when the command ended, from '%s'",
                            {static_cast<int>(count), left.Verb + (left.Rest.empty() ? "" : " " + left.Rest)}));
}

const TScriptedUser::TAction& TScriptedUser::Next(const std::string& Window) {
  if (Finished())
    throw EScriptError(FScriptName, FLineCount + 1, "the script ended while " + Window + " was still open");
  return FActions[FNext++];
}

void TScriptedUser::Fail(const TAction& Action, const std::string& Message) const {
  throw EScriptError(FScriptName, Action.Line, Message);
}

void TScriptedUser::DoesNotFit(const TAction& Action, const std::string& Window) const {
  static const char* const known[] = {"click", "select", "toggle", "key", "close", "answer", "file", "cancel", "dump"};
  for (const char* verb : known)
    if (Action.Verb == verb) Fail(Action, "'" + Action.Verb + "' does not fit " + Window + " on top");
  Fail(Action, "unknown action '" + Action.Verb + "'");
}

void TScriptedUser::Emit(const std::string& JsonLine) { FOut << JsonLine << '\n' << std::flush; }

// Forms

void TScriptedUser::RunModal(TCustomForm& Form) {
  while (Form.ModalResult() == mrNone) {
    PerformOnForm(Form, Next(FormTitle(Form)));
    if (Form.ModalResult() == mrNone && FAfterAction) FAfterAction();
  }
}

TControl* TScriptedUser::UsableControl(TCustomForm& Form, const TAction& Action, const std::string& ControlName) const {
  if (ControlName.empty()) Fail(Action, "'" + Action.Verb + "' needs a control name");
  TControl* control = Form.FindControl(ControlName);
  if (!control) Fail(Action, NoSuchControl(Form, ControlName));
  if (!control->Showing()) Fail(Action, control->Name() + " is hidden");
  if (!control->Usable()) Fail(Action, control->Name() + " is disabled");
  return control;
}

int TScriptedUser::FindItem(const TStrings* Items, const TAction& Action, const std::string& ControlName,
                            const std::string& Item) const {
  for (int i = 0; i < Items->Count(); ++i)
    if (Items->Get(i) == Item) return i;
  if (int i = Items->IndexOf(Item); i >= 0) return i;
  if (Item.size() > 1 && Item[0] == '#' && Item.find_first_not_of("0123456789", 1) == std::string::npos &&
      Item.size() < 10) {
    int i = std::stoi(Item.substr(1));
    if (i < Items->Count()) return i;
  }
  Fail(Action, "no item " + Quoted(Item) + " in " + ControlName);
}

void TScriptedUser::PerformOnForm(TCustomForm& Form, const TAction& Action) {
  const std::string& verb = Action.Verb;
  if (verb == "click") {
    TControl* control = UsableControl(Form, Action, Trim(Action.Rest));
    auto* button = dynamic_cast<TButton*>(control);
    if (!button) Fail(Action, control->Name() + " is a " + control->ClassName() + ", not a button");
    button->Click();
  } else if (verb == "select" || verb == "toggle") {
    auto [name, item] = SplitWord(Action.Rest);
    TControl* control = UsableControl(Form, Action, name);
    if (item.empty()) Fail(Action, "'" + verb + "' needs an item of " + control->Name());
    if (auto* list = dynamic_cast<TListBox*>(control)) {
      int index = FindItem(list->Items(), Action, list->Name(), item);
      if (verb == "select") {
        list->UserSelect(index);
      } else {
        if (!list->MultiSelect()) Fail(Action, list->Name() + " is not a multi-select list box");
        list->UserToggle(index);
      }
    } else if (auto* combo = dynamic_cast<TComboBox*>(control); combo && verb == "select") {
      combo->UserSelect(FindItem(combo->Items(), Action, combo->Name(), item));
    } else {
      Fail(Action, control->Name() + " is a " + control->ClassName() + ", not a " +
                       (verb == "select" ? "list box or combo box" : "list box"));
    }
  } else if (verb == "key") {
    std::string key = AnsiLowerCase(Trim(Action.Rest));
    if (key != "enter" && key != "escape") Fail(Action, "unknown key " + Quoted(Trim(Action.Rest)));
    TDialogKey dialogKey = key == "enter" ? TDialogKey::Enter : TDialogKey::Escape;
    if (!Form.UserKey(dialogKey))
      Fail(Action,
           FormTitle(Form) + " has no visible and enabled " + (key == "enter" ? "default" : "cancel") + " button");
  } else if (verb == "close") {
    Form.UserClose();
  } else if (verb == "dump") {
    Emit(FormJson(Form));
  } else {
    DoesNotFit(Action, FormTitle(Form));
  }
}

// Message boxes

TModalResult TScriptedUser::MessageBox(const TMessageBox& Box) {
  Emit(MessageBoxJson(Box));
  const std::string window = "the message box";
  while (true) {
    const TAction& action = Next(window);
    std::optional<TMsgDlgBtn> pressed;
    if (action.Verb == "answer") {
      std::string caption = Trim(action.Rest);
      pressed = Box.FindButton(caption);
      if (!pressed) Fail(action, "the message box has no button " + Quoted(caption));
    } else if (action.Verb == "key") {
      std::string key = AnsiLowerCase(Trim(action.Rest));
      if (key != "enter" && key != "escape") Fail(action, "unknown key " + Quoted(Trim(action.Rest)));
      pressed = key == "enter" ? Box.DefaultButton() : Box.CancelButton();
      if (!pressed)
        Fail(action, "the message box has no " + std::string(key == "enter" ? "default" : "cancel") + " button");
    } else if (action.Verb == "close") {
      return mrCancel;
    } else if (action.Verb == "dump") {
      Emit(MessageBoxJson(Box));
      continue;
    } else {
      DoesNotFit(action, window);
    }
    // Help opens help and leaves the box open.
    if (TModalResult result = MsgDlgBtnResult(*pressed); result != mrNone) return result;
    Application()->ShowHelp(Box.HelpContext);
    if (FAfterAction) FAfterAction();
  }
}

// Help

void TScriptedUser::ShowHelp(int Context) { Emit(HelpJson(Context)); }

// Open-file dialogs

bool TScriptedUser::ExecuteOpenDialog(TOpenDialog& Dialog) {
  const std::string window = "the open-file dialog";
  while (true) {
    const TAction& action = Next(window);
    if (action.Verb == "file") {
      if (action.Rest.empty()) Fail(action, "'file' needs a path");
      std::string path = action.Rest;
      if (!FFolder.empty() && path.front() != '/') path = (std::filesystem::path(FFolder) / path).string();
      TFileAcceptance acceptance = Dialog.UserAccept(path);
      if (acceptance == TFileAcceptance::Accepted) return true;
      Emit(FileRefusedJson(action.Rest, RefusalReason(acceptance)));
      if (FAfterAction) FAfterAction();
    } else if (action.Verb == "cancel" || action.Verb == "close") {
      return false;
    } else if (action.Verb == "key") {
      std::string key = AnsiLowerCase(Trim(action.Rest));
      if (key == "escape") return false;
      if (key == "enter") Fail(action, "Enter needs a file in the open-file dialog: use 'file PATH'");
      Fail(action, "unknown key " + Quoted(Trim(action.Rest)));
    } else if (action.Verb == "dump") {
      Emit(OpenDialogJson(Dialog));
    } else {
      DoesNotFit(action, window);
    }
  }
}
