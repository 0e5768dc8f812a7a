// designhost: the stand-in for the IDE. It loads the design packages, keeps one form open and
// offers the Object Inspector and the palette as commands, each in its file under commands/.
#include <iostream>

#include "designhost/CommandLine.h"

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

}  // namespace

int main(int argc, char** argv) {
  // What Run does not answer itself (a fault in setting up the command line) still ends in a
  // message and a failure status rather than an abort.
  try {
    TCommandLine commands(kDescription, kNotes, kExamples);
    AddCommands(commands);
    return commands.Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "error: unknown exception\n";
  }
  return kExitError;
}
