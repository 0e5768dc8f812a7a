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

  void Declare(TArguments& Arguments) override {
    Arguments.Add("FORM", FOptions.Form, "the form file to open");
    Arguments.Add("--screenshot", FOptions.Screenshot, "render the window to a PNG file and quit").TypeName("FILE");
    Arguments.Add("--select", FOptions.Select, "select these components of the form: COMPONENT[,COMPONENT...]")
        .TypeName("SEL");
    Arguments
        .Add("--expand", FOptions.Expand,
             "open these rows of the Object Inspector (FieldDefs, IndexDefs): PROPERTY[,PROPERTY...]")
        .TypeName("PROPS");
    Arguments
        .Add("--help-topic", FOptions.HelpTopic,
             "open the help window on this topic: DesignWindow, ObjectInspector, DatabaseName, SessionName, "
             "TableName, IndexName, IndexFieldNames, DatabaseFileName, MasterFields, FieldLinkDesigner, or "
             "a help context number")
        .TypeName("TOPIC");
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
