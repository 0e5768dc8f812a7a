// designhost gui: the design window, which the Qt plugin shows.
#include "designhost/Gui.h"

#include "designhost/CommandLine.h"
#include "designhost/DesignPackages.h"

namespace {

class TGuiCommand final : public TCommand {
 public:
  TCommandHelp Help() const override {
    return {.Name = "gui",
            .Summary = "the design window",
            .Description =
                "Palette, form and Object Inspector in a real window; a display is needed unless "
                "--screenshot renders the window off screen.",
            .Examples = {"designhost gui demo.xfm", "designhost gui demo.xfm --select Orders --screenshot window.png",
                         "designhost gui demo.xfm --select Orders --expand FieldDefs,IndexDefs"}};
  }

  void Declare(CLI::App& Command) override {
    Command.add_option("FORM", FOptions.Form, "the form file to open");
    Command.add_option("--screenshot", FOptions.Screenshot, "render the window to a PNG file and quit")
        ->type_name("FILE");
    Command.add_option("--select", FOptions.Select, "select these components of the form: COMPONENT[,COMPONENT...]")
        ->type_name("SEL");
    Command
        .add_option("--expand", FOptions.Expand,
                    "open these rows of the Object Inspector (FieldDefs, IndexDefs): PROPERTY[,PROPERTY...]")
        ->type_name("PROPS");
    Command
        .add_option("--help-topic", FOptions.HelpTopic,
                    "open the help window on this topic: DesignWindow, ObjectInspector, DatabaseName, SessionName, "
                    "TableName, IndexName, IndexFieldNames, DatabaseFileName, MasterFields, FieldLinkDesigner, or "
                    "a help context number")
        ->type_name("TOPIC");
  }

  int Run(const std::vector<std::string>& Packages) override {
    LoadDesignPackages(Packages);
    return RunGui(FOptions);
  }

 private:
  TGuiOptions FOptions;
};

}  // namespace

void AddGuiCommand(TCommandLine& Commands) { Commands.Add(std::make_unique<TGuiCommand>()); }
