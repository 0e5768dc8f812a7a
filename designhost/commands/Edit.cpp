// The edit command: presses a property's ellipsis button and answers the dialogs that open,
// from a script or on the screen.
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "designhost/CommandLine.h"
#include "designhost/CommandTarget.h"
#include "designhost/DesignPackages.h"
#include "designhost/Designer.h"
#include "designhost/Output.h"
#include "designhost/PropertySnapshot.h"
#include "designhost/Screen.h"
#include "host/designide/DesignEditors.h"
#include "host/visualclx/JsonLine.h"
#include "host/visualclx/ScriptedUser.h"

namespace {

// The scripted user's language and the controls of the package's dialogs, for edit --help.
constexpr const char* kScriptLanguage =
    "With --script FILE the script replaces the person at the screen: each line is one action on the "
    "window on top (a modal form, a message box, an open-file dialog). Blank lines and lines starting "
    "with # are skipped; an ITEM runs to the end of the line. Lines left over when the command ends are "
    "a script error (3), unless the command already failed.\n\n"
    "  click NAME          click the button (visible and enabled): its ModalResult, then OnClick\n"
    "  select NAME ITEM    choose ITEM (its text, or #N from 0) in a list box or combo box\n"
    "  toggle NAME ITEM    Ctrl+click ITEM in a multi-select list box\n"
    "  key enter|escape    Enter clicks the default button, Escape the cancel button\n"
    "  close               close the window from its title bar (modal result 2)\n"
    "  answer BUTTON       answer the message box (OK, Cancel, Yes, No, ...)\n"
    "  file PATH           accept PATH in the open-file dialog (relative: from the form's folder)\n"
    "  cancel              cancel the open-file dialog\n"
    "  dump                print the window on top as one JSON line\n\n"
    "Every message box prints one JSON line when it opens: "
    "{\"window\":\"message\",\"type\":..,\"text\":..,\"buttons\":[..]}. A request for help (the Help "
    "button) prints {\"window\":\"help\",\"context\":N} and opens nothing the script must answer.\n\n"
    "The Field Link Designer (a table's MasterFields) has these controls:\n\n"
    "  IndexList           combo box: Available Indexes of the detail table\n"
    "  DetailList          list box: Detail Fields\n"
    "  MasterList          list box: Master Fields\n"
    "  AddButton           Add: joins the selected detail and master fields\n"
    "  BindList            multi-select list box: Joined Fields\n"
    "  DeleteButton        Delete: removes the selected joins\n"
    "  ClearButton         Clear: removes every join\n"
    "  Button1             OK (the default button)\n"
    "  Button2             Cancel (the cancel button)\n"
    "  Help                Help\n\n"
    "A database's DatabaseFileName opens an open-file dialog for database files (*.tvd) that "
    "refuses a file that does not exist: answer it with file PATH or cancel.\n\n"
    "Without --script the dialogs open in real windows (a display is needed).";

int ScriptFailed(const EScriptError& e) {
  std::cout.flush();
  std::cerr << Printable(ErrorLine(e)) << '\n';
  return kExitScript;
}

class TEditCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    std::vector<std::string> status = kCommonExitStatus;
    status.emplace_back(
        "3  a script error: an unknown control, an action on a disabled control, the script ended while a window "
        "was still open, lines left over");
    return {.Name = "edit",
            .Summary = "presses the property's ellipsis button and answers its dialogs",
            .Description = std::string("Saves FORM when the editor reported a modification (not with --dry-run) and "
                                       "prints one JSON line {\"modified\":B,\"changes\":{...}}, changes mapping "
                                       "Component.Property to the new text of every property the command "
                                       "changed.\n\n") +
                           kScriptLanguage,
            .ExitStatus = status,
            .Examples = {"designhost edit demo.xfm Orders.MasterFields --script link.txt",
                         "designhost edit demo.xfm Database1.DatabaseFileName --script choose.txt --dry-run"}};
  }

  void Declare(TArguments& Arguments) override {
    Arguments.Add("FORM", FForm, "the form file").Required();
    Arguments.Add("SEL.PROP", FTarget, "the property: COMPONENT[,COMPONENT...].PROPERTY").Required();
    Arguments.Add("--script", FScript, "answer the dialogs with this script").TypeName("FILE");
    Arguments.Flag("--dry-run", FDryRun, "never save the form");
    Arguments.Add("--screenshot", FScreenshots, "write a picture of each window state into DIR").TypeName("DIR");
  }

  // Answers 0, or 3 for a script error (whose message it printed).
  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    auto [selection, property] = SplitSelectionProperty(FTarget);
    std::unique_ptr<TScriptedUser> script;
    if (FScript) script = TScriptedUser::FromFile(*FScript, std::cout);
    std::unique_ptr<TWidgetSet> screen;
    if (!script) screen = OpenScreenWidgetSet();
    TWidgetSet& user = script ? static_cast<TWidgetSet&>(*script) : *screen;
    std::unique_ptr<TWidgetSet> recorder;
    if (FScreenshots) recorder = RecordScreenshots(user, *FScreenshots);

    const auto access = FDryRun ? TFormDocument::TAccess::ReadOnly : TFormDocument::TAccess::Write;
    auto document = OpenForm(FForm, access);
    if (script) script->SetFolder(document->Root()->FormFolder());
    TFormDesigner designer(document->Root());
    const std::vector<TComponent*> selected = SelectComponents(*document, selection);
    std::unique_ptr<TPropertyEditor> row = FindInspectorRow(designer, selected, property);
    if (!row->GetAttributes().Contains(paDialog))
      throw EUsageError(FTarget + " has no ellipsis button (its editor " + row->ClassName() + " has no dialog)");

    const auto before = PropertySnapshot(*document);
    try {
      TWidgetSetScope scope(recorder ? *recorder : user);
      row->Edit();
      if (script) script->CheckFinished();
    } catch (const EScriptError& e) {
      return ScriptFailed(e);
    }
    const auto changes = Changes(before, PropertySnapshot(*document));
    const bool modified = designer.IsModified();

    // The line is written before the form is saved: output that is lost saves nothing, and a
    // save that fails leaves the form as it was and the command failing.
    nlohmann::ordered_json result;
    result["modified"] = modified;
    result["changes"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : changes) result["changes"][key] = value;
    std::cout << JsonLine(result) << '\n';
    if (modified && !FDryRun) SaveForm(*document);
    return 0;
  }

 private:
  std::string FForm;
  std::string FTarget;  // SEL.PROP
  std::optional<std::string> FScript;
  bool FDryRun = false;
  std::optional<std::string> FScreenshots;
};

}  // namespace

void AddEditCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TEditCommand>()); }
