// designhost's command line: the commands with their help (what each does, its exit statuses,
// an example), the help texts made from them, and usage errors that say what was wrong and
// name the nearest valid word. The man page and the shell completion read the same help, so a
// command added to the command line appears in all of them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/rtl/SysUtils.h"

// The parser stays inside CommandLine.cpp: its header sets up objects of its own in every file
// that includes it, at every start of the program.
namespace CLI {
class App;
class Option;
}  // namespace CLI

constexpr int kExitDone = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitScript = 3;

// The exit statuses every command shares; a command's help adds its own after them.
extern const std::vector<std::string> kCommonExitStatus;

// What a command's help says besides its arguments and options.
struct TCommandHelp {
  std::string Name{};
  std::string Summary{};      // one line, shown in the list of commands
  std::string Description{};  // paragraphs (split by blank lines) after the summary in the command's help
  std::vector<std::string> ExitStatus = kCommonExitStatus;  // "N  meaning" each
  std::vector<std::string> Examples{};                      // command lines
};

// An argument or option of a command as declared; the calls refine it.
class TArgument {
 public:
  explicit TArgument(CLI::Option* Option) : FOption(Option) {}
  // The command does not run without it.
  TArgument& Required();
  // The word that stands for the option's value in the help: "--script FILE".
  TArgument& TypeName(const std::string& Name);
  // It and Other are not given together.
  TArgument& Excludes(const TArgument& Other);

 private:
  CLI::Option* FOption;
};

// What a command declares its arguments and options to, each bound to the member that receives
// it: a name that starts with "-" is an option, any other an argument.
class TArguments {
 public:
  explicit TArguments(CLI::App& Command) : FCommand(Command) {}
  TArgument Flag(const std::string& Name, bool& Value, const std::string& Description);
  TArgument Add(const std::string& Name, std::string& Value, const std::string& Description);
  TArgument Add(const std::string& Name, std::optional<std::string>& Value, const std::string& Description);
  // An argument that takes the rest of the words, or an option that may be repeated.
  TArgument Add(const std::string& Name, std::vector<std::string>& Value, const std::string& Description);

 private:
  CLI::App& FCommand;
};

// One command of designhost, in a file of its own under designhost/commands/: its help, its
// arguments and options, and what it does once they are parsed.
class TCommand {
 public:
  virtual ~TCommand() = default;
  virtual TCommandHelp Help() const = 0;
  // Declares the command's arguments and options, bound to the members that Run reads; the
  // help lists them in the order declared.
  virtual void Declare(TArguments& Arguments) = 0;
  // Answers the exit status. Packages: the design packages named with --package, for the
  // commands that load the design packages.
  virtual int Run(const std::vector<std::string>& Packages) = 0;
};

class TCommandLine {
 public:
  // The program's help: Description, the commands, Notes (sections on output formats, errors,
  // exit statuses), the options, then Examples.
  TCommandLine(const std::string& Description, const std::string& Notes, const std::string& Examples);
  ~TCommandLine();

  // Adds Command; the help lists the commands in the order added. Its arguments and options are
  // declared when they are needed: for the command being run, or for a help that shows them.
  void Add(std::unique_ptr<TCommand> Command);

  // The design packages named with --package, in the order given.
  const std::vector<std::string>& Packages() const { return FPackages; }

  // Parses the arguments and runs the command: its exit status, or 2 for wrong usage and 1 for
  // an error it raised, each printed on stderr. What the command printed is written before the
  // status is answered: output that cannot be written makes it 1, with the system's reason
  // (quietly when the reader went away).
  int Run(int argc, const char* const* argv);

 private:
  struct TEntry {
    std::string Name;
    std::unique_ptr<TCommand> Command;
    CLI::App* Parser = nullptr;  // made by Declared
  };

  // The command's parser, with its help, arguments and options; made the first time it is asked for.
  CLI::App* Declared(TEntry& Entry);
  // Every command's parser, in the order added: what the list of commands shows.
  std::vector<const CLI::App*> DeclaredAll();
  TEntry* Find(const std::string& Name);
  std::vector<std::string> Names() const;

  int Dispatch(int argc, const char* const* argv);
  int RunHelp();
  // Checks Args word by word and answers the first that is no command, or no option of the
  // command before it, as a message naming the nearest valid word (empty when all are known).
  // Options of the program that follow the command are moved before it, so they may be given
  // anywhere: `designhost palette --package more.so`. Command becomes the command named.
  std::string Arrange(std::vector<std::string>& Args, const CLI::App*& Command) const;
  int UsageError(const CLI::App* Command, const std::string& Message) const;

  std::unique_ptr<CLI::App> FApp;
  std::vector<std::string> FPackages;
  std::vector<TEntry> FCommands;  // help first
  std::string FHelpTopic;
};

// How an error is printed on stderr: "error: CLASS: MESSAGE", or with the place first,
// "FILE:LINE: error: CLASS: MESSAGE", for an error at a line of a file.
std::string ErrorLine(const Exception& E);

// Adds every command of designhost to Commands, in the order its help lists them. The list is
// made at build time from the command names in designhost/CMakeLists.txt.
void AddCommands(TCommandLine& Commands);
