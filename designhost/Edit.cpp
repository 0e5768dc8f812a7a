// The edit command: presses a property's ellipsis button and answers the dialogs that open,
// from a script or on the screen.
#include <iostream>
#include <nlohmann/json.hpp>

#include "designhost/CommandLine.h"
#include "designhost/Commands.h"
#include "designhost/Designer.h"
#include "designhost/FormDocument.h"
#include "designhost/Screen.h"
#include "host/designide/DesignEditors.h"
#include "host/visualclx/ScriptedUser.h"

namespace {

int ScriptFailed(const EScriptError& e) {
  std::cout.flush();
  std::cerr << Printable(ErrorLine(e)) << '\n';
  return kExitScript;
}

}  // namespace

int RunEdit(const TEditOptions& Options) {
  auto [selection, property] = SplitSelectionProperty(Options.Target);
  std::unique_ptr<TScriptedUser> script;
  if (Options.Script) script = TScriptedUser::FromFile(*Options.Script, std::cout);
  std::unique_ptr<TWidgetSet> screen;
  if (!script) screen = OpenScreenWidgetSet();
  TWidgetSet& user = script ? static_cast<TWidgetSet&>(*script) : *screen;
  std::unique_ptr<TWidgetSet> recorder;
  if (Options.Screenshots) recorder = RecordScreenshots(user, *Options.Screenshots);

  const auto access = Options.DryRun ? TFormDocument::TAccess::Read : TFormDocument::TAccess::Write;
  auto document = OpenForm(Options.Form, access);
  if (script) script->SetFolder(document->Root()->FormFolder());
  TFormDesigner designer(document->Root());
  const std::vector<TComponent*> selected = SelectComponents(*document, selection);
  std::unique_ptr<TPropertyEditor> row = FindInspectorRow(designer, selected, property);
  if (!row->GetAttributes().Contains(paDialog))
    throw EUsageError(Options.Target + " has no ellipsis button (its editor " + row->ClassName() + " has no dialog)");

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

  // The line is whole before the form is saved: a save that fails leaves the form as it was
  // and the command failing, never a changed form with a failed command.
  nlohmann::ordered_json result;
  result["modified"] = modified;
  result["changes"] = nlohmann::ordered_json::object();
  for (const auto& [key, value] : changes) result["changes"][key] = value;
  // Bytes that are no UTF-8 (a column name read from a database) become U+FFFD, as in every
  // JSON line of the scripted user.
  std::cout << result.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n' << std::flush;
  if (modified && !Options.DryRun) document->Save();
  return 0;
}
