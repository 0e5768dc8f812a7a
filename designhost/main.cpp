// designhost: the stand-in for the IDE. It loads the design packages, keeps one form open and
// offers the Object Inspector and the palette as commands.
#include <iostream>

#include "designhost/Check.h"
#include "designhost/CommandLine.h"
#include "designhost/Commands.h"
#include "designhost/Links.h"

namespace {

constexpr const char* kDescription =
    "Loads design packages and offers the Object Inspector and the component palette as commands: the "
    "stand-in for the IDE. The design package built with designhost is always loaded; --package loads "
    "more.\n\n"
    "FORM is a form file (.xfm); SEL is COMPONENT[,COMPONENT...], the selection, the first being "
    "component 0 (with several selected, only properties whose editor has paMultiSelect are listed); "
    "SEL.PROP names a property of the selection, as the Object Inspector shows it.";

constexpr const char* kNotes =
    "Output:\n"
    "  The TAB formats (palette, package-info, properties, values, links) print one\n"
    "  record a line, its fields separated by TAB; a backslash, a tab or a line feed\n"
    "  inside a value is printed as \\\\, \\t or \\n. check prints one finding a line.\n"
    "  With --json, each of them prints one JSON value a line instead (package-info\n"
    "  one JSON object).\n"
    "\n"
    "Errors:\n"
    "  Printed on stderr as 'error: CLASS: MESSAGE'; an error at a line of a form\n"
    "  file or a script as 'FILE:LINE: error: CLASS: MESSAGE'. A form whose table\n"
    "  cannot be opened still loads, with 'warning: COMPONENT: MESSAGE'.\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  an error raised by the package, the components or the platform\n"
    "  2  wrong usage (an unknown command, option, component or property)\n"
    "  3  a script error (edit --script)\n"
    "  Nothing is saved unless the command succeeded.\n";

constexpr const char* kExamples =
    "Examples:\n"
    "  designhost new-demo demo\n"
    "  designhost properties demo/demo.xfm Orders\n"
    "  designhost values demo/demo.xfm Orders.IndexName\n"
    "  designhost set demo/demo.xfm Orders.IndexName ByCustomer\n"
    "  designhost edit demo/demo.xfm Orders.MasterFields --script link.txt\n"
    "\n"
    "See 'designhost help COMMAND' for the arguments, options and exit statuses of a command.\n";

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

}  // namespace

int main(int argc, char** argv) {
  // What Run does not answer itself (a fault in setting up the command line) still ends in a
  // message and a failure status rather than an abort.
  try {
    TCommandLine commands(kDescription, kNotes, kExamples);
    auto packages = [&commands] { LoadDesignPackages(commands.Packages()); };

    bool json = false;
    commands
        .Add({.Name = "palette",
              .Summary = "PAGE<TAB>CLASS per registered component, in registration order",
              .Examples = {"designhost palette", "designhost --package more.so palette --json"}},
             [&] {
               packages();
               RunPalette(json);
               return kExitDone;
             })
        ->add_flag("--json", json, "one JSON object a line: {\"page\":..,\"class\":..}");

    std::optional<std::string> infoFile;
    CLI::App* info = commands.Add(
        {.Name = "package-info",
         .Summary = "name, description, required packages, units, resources of a package",
         .Description = "Reads the package's own description without running it: one 'KEY: VALUE' line each for "
                        "name, description, flags, requires (one line a package), unit and resource.",
         .Examples = {"designhost package-info", "designhost package-info --json build/lib/bpldclTirvendalK3D.so"}},
        [&] {
          packages();
          RunPackageInfo(infoFile, json);
          return kExitDone;
        });
    info->add_option("FILE", infoFile, "the package library (default: the design package built with designhost)");
    info->add_flag("--json", json,
                   "one JSON object: {\"name\":..,\"description\":..,\"flags\":[..],\"requires\":[..],"
                   "\"units\":[{\"name\":..,\"flags\":[..]}],\"resources\":[{\"name\":..,\"type\":..,\"size\":N}]}");

    std::string form, selection, target, value;
    CLI::App* properties = commands.Add(
        {.Name = "properties",
         .Summary = "the inspector's rows: NAME<TAB>VALUE<TAB>EDITOR CLASS<TAB>ATTRIBUTES",
         .Description = "ATTRIBUTES are the editor's attribute names joined by \",\" in ordinal order (paValueList, "
                        "paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, paReadOnly, "
                        "paRevertable).",
         .Examples = {"designhost properties demo.xfm Orders",
                      "designhost properties --json demo.xfm Customers,Orders"}},
        [&] {
          packages();
          RunProperties(form, selection, json);
          return kExitDone;
        });
    properties->add_flag("--json", json,
                         "one JSON object a line: {\"name\":..,\"value\":..,\"editor\":..,\"attributes\":[..]}");
    properties->add_option("FORM", form, "the form file")->required();
    properties->add_option("SEL", selection, "the selection: COMPONENT[,COMPONENT...]")->required();

    bool raw = false;
    CLI::App* values =
        commands.Add({.Name = "values",
                      .Summary = "the drop-down list of a property, one value a line, as the inspector shows it",
                      .Description = "Sorted without regard to case when the editor asks for paSortList.",
                      .Examples = {"designhost values demo.xfm Orders.IndexName"}},
                     [&] {
                       packages();
                       RunValues(form, target, raw, json);
                       return kExitDone;
                     });
    values->add_flag("--raw", raw, "the values as the editor delivers them, unsorted");
    values->add_flag("--json", json, "one JSON string a line");
    values->add_option("FORM", form, "the form file")->required();
    values->add_option("SEL.PROP", target, "the property: COMPONENT[,COMPONENT...].PROPERTY")->required();

    CLI::App* set = commands.Add(
        {.Name = "set",
         .Summary = "types VALUE into the property; saves FORM when modified",
         .Description = "The value goes through the property's editor as if typed into the inspector. A VALUE that "
                        "starts with '-' follows '--'.",
         .Examples = {"designhost set demo.xfm Orders.IndexName ByCustomer",
                      "designhost set demo.xfm Customers,Orders.DatabaseName Demo"}},
        [&] {
          packages();
          RunSet(form, target, value);
          return kExitDone;
        });
    set->add_option("FORM", form, "the form file")->required();
    set->add_option("SEL.PROP", target, "the property: COMPONENT[,COMPONENT...].PROPERTY")->required();
    set->add_option("VALUE", value, "the text to type")->required();

    TEditOptions edit;
    std::vector<std::string> editStatus = kCommonExitStatus;
    editStatus.emplace_back(
        "3  a script error: an unknown control, an action on a disabled control, the script ended while a window "
        "was still open, lines left over");
    CLI::App* editCommand = commands.Add(
        {.Name = "edit",
         .Summary = "presses the property's ellipsis button and answers its dialogs",
         .Description = std::string("Saves FORM when the editor reported a modification (not with --dry-run) and "
                                    "prints one JSON line {\"modified\":B,\"changes\":{...}}, changes mapping "
                                    "Component.Property to the new text of every property the command changed.\n\n") +
                        kScriptLanguage,
         .ExitStatus = editStatus,
         .Examples = {"designhost edit demo.xfm Orders.MasterFields --script link.txt",
                      "designhost edit demo.xfm Database1.DatabaseFileName --script choose.txt --dry-run"}},
        [&] {
          packages();
          return RunEdit(edit);
        });
    editCommand->add_option("FORM", edit.Form, "the form file")->required();
    editCommand->add_option("SEL.PROP", edit.Target, "the property: COMPONENT[,COMPONENT...].PROPERTY")->required();
    editCommand->add_option("--script", edit.Script, "answer the dialogs with this script")->type_name("FILE");
    editCommand->add_flag("--dry-run", edit.DryRun, "never save the form");
    editCommand->add_option("--screenshot", edit.Screenshots, "write a picture of each window state into DIR")
        ->type_name("DIR");

    std::string demoDir;
    bool force = false;
    CLI::App* demo = commands.Add(
        {.Name = "new-demo",
         .Summary = "writes the demo database and form into DIR",
         .Description = "DIR/demo.tvd holds customers, orders and order items with indexes of every kind; "
                        "DIR/demo.xfm a database, the customers and the orders tables, and a data source. DIR is "
                        "created when missing. The paths written are printed, one a line.",
         .Examples = {"designhost new-demo demo", "designhost new-demo --force build/demo"}},
        [&] {
          RunNewDemo(demoDir, force);
          return kExitDone;
        });
    demo->add_flag("--force", force, "replace the demo files that are there already");
    demo->add_option("DIR", demoDir, "the folder to write into")->required();

    std::vector<std::string> paths;
    CLI::App* check = commands.Add(
        {.Name = "check",
         .Summary = "checks forms against their databases: FILE:LINE: error: COMPONENT.PROPERTY: MESSAGE",
         .Description = "Reads the forms given (a folder: every *.xfm under it) into one session, so that a table may "
                        "name a database of another form, and checks every component against the database files "
                        "as they are now: database files, database names, tables, indexes, index fields, master "
                        "sources and master fields. One finding a line, sorted by file and line; nothing is "
                        "written.",
         .ExitStatus = {"0  no finding", "1  at least one finding", "2  wrong usage"},
         .Examples = {"designhost check demo", "designhost check --json forms/orders.xfm forms/customers.xfm"}},
        [&] {
          packages();
          return RunCheck(paths, json);
        });
    check->add_flag("--json", json,
                    "one JSON object a finding: "
                    "{\"file\":..,\"line\":N,\"component\":..,\"property\":..,\"message\":..}");
    check->add_option("PATH", paths, "a form, or a folder of forms")->required();

    bool dot = false;
    CLI::App* links = commands.Add(
        {.Name = "links",
         .Summary = "the master/detail links of forms: FILE<TAB>DETAIL<TAB>MASTER<TAB>PAIRS",
         .Description = "One line for every table whose MasterSource's data set is a table, forms in the order "
                        "given (a folder: every *.xfm under it), tables in form order. PAIRS is "
                        "DETAILFIELD=MASTERFIELD joined by ';', the detail's current order paired with MasterFields. "
                        "A backslash, a tab or a line feed inside a path or a name is printed as \\\\, \\t or \\n.",
         .ExitStatus = {"0  done", "1  a form cannot be read", "2  wrong usage"},
         .Examples = {"designhost links demo", "designhost links --dot demo | dot -Tsvg -o links.svg"}},
        [&] {
          packages();
          return RunLinks(paths, dot ? TLinksFormat::Dot : json ? TLinksFormat::Json : TLinksFormat::Text);
        });
    CLI::Option* linksJson = links->add_flag(
        "--json", json,
        "one JSON object a link: {\"file\":..,\"detail\":..,\"detailTable\":..,\"master\":..,\"masterTable\":..,"
        "\"index\":..,\"pairs\":[[D,M],...]}");
    links->add_flag("--dot", dot, "one Graphviz digraph: a node a table, an edge from master to detail")
        ->excludes(linksJson);
    links->add_option("PATH", paths, "a form, or a folder of forms")->required();

    TGuiOptions gui;
    CLI::App* guiCommand = commands.Add(
        {.Name = "gui",
         .Summary = "the design window",
         .Description = "Palette, form and Object Inspector in a real window; a display is needed unless "
                        "--screenshot renders the window off screen.",
         .Examples = {"designhost gui demo.xfm", "designhost gui demo.xfm --select Orders --screenshot window.png",
                      "designhost gui demo.xfm --select Orders --expand FieldDefs,IndexDefs"}},
        [&] {
          packages();
          return RunGui(gui);
        });
    guiCommand->add_option("FORM", gui.Form, "the form file to open");
    guiCommand->add_option("--screenshot", gui.Screenshot, "render the window to a PNG file and quit")
        ->type_name("FILE");
    guiCommand->add_option("--select", gui.Select, "select these components of the form: COMPONENT[,COMPONENT...]")
        ->type_name("SEL");
    guiCommand
        ->add_option("--expand", gui.Expand,
                     "open these rows of the Object Inspector (FieldDefs, IndexDefs): PROPERTY[,PROPERTY...]")
        ->type_name("PROPS");
    guiCommand->add_option("--help-topic", gui.HelpTopic, "open the help window on the topic of this help context")
        ->type_name("N");

    return commands.Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "error: unknown exception\n";
  }
  return kExitError;
}
