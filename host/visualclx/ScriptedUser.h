// The scripted user: a widget set that answers modal windows from a script instead of a
// person. Each line is one action on the window on top (a modal form, a message box, an
// open-file dialog); blank lines and lines starting with "#" are skipped.
//
//   click NAME          click the button (visible and enabled): its ModalResult, then OnClick
//   select NAME ITEM    click ITEM (its text, or #N from 0) in a list box or a combo box
//   toggle NAME ITEM    Ctrl+click ITEM in a multi-select list box
//   key enter|escape    Enter clicks the default button, Escape the cancel button
//   close               close the window from its title bar (modal result 2)
//   answer BUTTON       answer the message box (OK, Cancel, Yes, No, ...)
//   file PATH           accept PATH in the open-file dialog
//   cancel              cancel the open-file dialog
//   dump                print the window on top as one JSON line
//
// NAME and the other words are separated by blanks; ITEM and PATH are the rest of the line
// after the one blank that follows the word before them, leading blanks included. An ITEM is
// the item of that text, else of that text without regard to case, else #N the item at
// position N. Every message box prints its JSON line when it opens; a path the open-file
// dialog refuses prints {"window":"open-file","refused":PATH,"reason":..}; a request for help
// prints {"window":"help","context":N} and opens nothing the script must answer.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/rtl/FileLineError.h"
#include "host/rtl/Forward.h"
#include "host/visualclx/WidgetSet.h"

// A script that does not fit what is on the screen: an unknown action, control or item, an
// action on a hidden or disabled control, a line that does not fit the window on top, the
// script ending while a window is open, lines left over when the command ends. The message
// reads "SCRIPT:LINE: what was wrong".
class EScriptError : public EFileLineError {
 public:
  using EFileLineError::EFileLineError;
  const char* ClassName() const override { return "EScriptError"; }
};

class TScriptedUser : public TWidgetSet {
 public:
  // Script holds the lines; ScriptName names the script in error messages. JSON lines go to Out.
  TScriptedUser(std::string_view Script, std::ostream& Out, std::string ScriptName = "script");
  // Reads the script from a file, which must be a regular file; EInOutError naming it and the
  // reason when it cannot be read.
  static std::unique_ptr<TScriptedUser> FromFile(const std::string& FileName, std::ostream& Out);

  // The folder a relative PATH of "file PATH" is taken from (the form's); empty: the working
  // directory.
  void SetFolder(std::string Folder) { FFolder = std::move(Folder); }

  void RunModal(TCustomForm& Form) override;
  TModalResult MessageBox(const TMessageBox& Box) override;
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
  void ShowHelp(int Context) override;

  // The line of the action taken last (the one running, while its events run); 0 before the
  // first.
  int CurrentLine() const { return FNext == 0 ? 0 : FActions[FNext - 1].Line; }
  // Every action line has been performed.
  bool Finished() const { return FNext >= FActions.size(); }
  // Raises EScriptError at the first line left over, if any. A command calls it when it ended
  // without an error of its own; after an error the left-over lines are no script error.
  void CheckFinished() const;

  // Told after each action that leaves the window it acted on open, once the model has run the
  // action's events: a renderer pictures the window states the script passes through.
  void SetAfterAction(std::function<void()> Proc) { FAfterAction = std::move(Proc); }

 private:
  struct TAction {
    int Line = 0;
    std::string Verb;  // lower case
    std::string Rest;  // the text after the verb and one blank
  };

  // The next action for the window described by Window; raises when the script has ended.
  const TAction& Next(const std::string& Window);
  [[noreturn]] void Fail(const TAction& Action, const std::string& Message) const;
  [[noreturn]] void DoesNotFit(const TAction& Action, const std::string& Window) const;
  void Emit(const std::string& JsonLine);

  std::string FFolder;

  // Form actions; each answers after the model has run the action's events.
  void PerformOnForm(TCustomForm& Form, const TAction& Action);
  TControl* UsableControl(TCustomForm& Form, const TAction& Action, const std::string& ControlName) const;
  int FindItem(const TStrings* Items, const TAction& Action, const std::string& ControlName,
               const std::string& Item) const;

  std::string FScriptName;
  std::ostream& FOut;
  std::vector<TAction> FActions;
  size_t FNext = 0;
  int FLineCount = 0;
  std::function<void()> FAfterAction;
};
