// designhost: the stand-in for the IDE. It loads the design packages, keeps one form open and
// offers the Object Inspector and the palette as commands.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "designhost/Check.h"
#include "designhost/Commands.h"
#include "designhost/FormDocument.h"
#include "designhost/Links.h"
#include "host/rtl/SysUtils.h"

namespace {

constexpr int kDone = 0;
constexpr int kError = 1;
constexpr int kUsage = 2;

int Fail(int status, const std::string& text) {
  std::cout.flush();
  std::cerr << Printable(text) << '\n';
  return status;
}

int Run(int argc, char** argv) {
  CLI::App app{"designhost: loads design packages and offers the inspector and the palette as commands", "designhost"};
  app.require_subcommand(1);
  app.fallthrough(false);
  std::vector<std::string> packages;
  app.add_option("--package", packages, "load another design package (may be repeated)")->type_name("FILE");

  auto* palette = app.add_subcommand("palette", "PAGE<TAB>CLASS per registered component, in registration order");

  std::optional<std::string> infoFile;
  auto* info =
      app.add_subcommand("package-info", "name, description, required packages, units, resources of a package");
  info->add_option("FILE", infoFile, "the package library (default: the design package)");

  std::string form, selection, target, value;
  auto* properties =
      app.add_subcommand("properties", "the inspector's rows: NAME<TAB>VALUE<TAB>EDITOR CLASS<TAB>ATTRIBUTES");
  properties->add_option("FORM", form)->required();
  properties->add_option("SEL", selection, "COMPONENT[,COMPONENT...]")->required();

  bool raw = false;
  auto* values = app.add_subcommand("values", "the drop-down list, one value a line, as the inspector shows it");
  values->add_flag("--raw", raw, "as the editor delivers them, unsorted");
  values->add_option("FORM", form)->required();
  values->add_option("SEL.PROP", target)->required();

  auto* set = app.add_subcommand("set", "types VALUE into the property; saves FORM when modified");
  set->add_option("FORM", form)->required();
  set->add_option("SEL.PROP", target)->required();
  set->add_option("VALUE", value)->required();

  TEditOptions edit;
  auto* editCommand = app.add_subcommand("edit", "presses the property's ellipsis button");
  editCommand->add_option("FORM", edit.Form)->required();
  editCommand->add_option("SEL.PROP", edit.Target)->required();
  editCommand->add_option("--script", edit.Script, "answer the dialogs with this script")->type_name("FILE");
  editCommand->add_flag("--dry-run", edit.DryRun, "never save the form");
  editCommand->add_option("--screenshot", edit.Screenshots, "write a picture of each window state into DIR")
      ->type_name("DIR");

  std::string demoDir;
  auto* demo = app.add_subcommand("new-demo", "writes the demo database and form into DIR");
  demo->add_option("DIR", demoDir)->required();

  std::vector<std::string> checkPaths;
  bool checkJson = false;
  auto* check = app.add_subcommand("check", "checks forms against their databases");
  check->add_flag("--json", checkJson, "one JSON object a finding");
  check->add_option("PATH", checkPaths, "a form, or a folder of forms")->required();

  std::vector<std::string> linksPaths;
  bool linksJson = false, linksDot = false;
  auto* links = app.add_subcommand("links", "the master/detail links of forms");
  auto* linksJsonFlag = links->add_flag("--json", linksJson, "one JSON object a link");
  links->add_flag("--dot", linksDot, "one Graphviz digraph")->excludes(linksJsonFlag);
  links->add_option("PATH", linksPaths, "a form, or a folder of forms")->required();

  TGuiOptions gui;
  auto* guiCommand = app.add_subcommand("gui", "the design window");
  guiCommand->add_option("FORM", gui.Form);
  guiCommand->add_option("--screenshot", gui.Screenshot, "render the window to a PNG file and quit")->type_name("FILE");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }

  try {
    if (*demo) {
      RunNewDemo(demoDir);
      return kDone;
    }
    LoadDesignPackages(packages);
    if (*palette) RunPalette();
    if (*info) RunPackageInfo(infoFile);
    if (*properties) RunProperties(form, selection);
    if (*values) RunValues(form, target, raw);
    if (*set) RunSet(form, target, value);
    if (*editCommand) return RunEdit(edit);
    if (*check) return RunCheck(checkPaths, checkJson);
    if (*links)
      return RunLinks(linksPaths, linksDot ? TLinksFormat::Dot : linksJson ? TLinksFormat::Json : TLinksFormat::Text);
    if (*guiCommand) return RunGui(gui);
    return kDone;
  } catch (const EUsageError& e) {
    return Fail(kUsage, "designhost: " + e.Message());
  } catch (const Exception& e) {
    return Fail(kError, std::string("error: ") + e.ClassName() + ": " + e.Message());
  } catch (const std::exception& e) {
    return Fail(kError, std::string("error: Exception: ") + e.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // What Run does not answer itself (a fault in setting up the command line) still ends in a
  // message and a failure status rather than an abort.
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "error: unknown exception\n";
  }
  return kError;
}
