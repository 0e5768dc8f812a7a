// designhost's command line: help texts, usage errors with the nearest valid word, and the
// exit statuses of the commands' outcomes.
#include "designhost/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <functional>
#include <iostream>
#include <memory>

#include "designhost/Output.h"
#include "designhost/UsageError.h"
#include "host/rtl/FileLineError.h"
#include "host/rtl/NearestWord.h"

const std::vector<std::string> kCommonExitStatus = {
    "0  done",
    "1  an error raised by the package, the components or the platform (printed on stderr)",
    "2  wrong usage",
};

namespace {

constexpr size_t kWidth = 79;
constexpr size_t kColumn = 24;  // where the right column of a two-column list starts

// Text reflowed to kWidth, every line indented by Indent; lines of a paragraph that start
// with a blank are kept as they are (lists, examples), indented like the rest.
std::string Wrap(std::string_view Text, size_t Indent) {
  std::string out;
  const std::string pad(Indent, ' ');
  std::string line;
  auto flush = [&] {
    if (!line.empty()) out += pad + line + '\n';
    line.clear();
  };
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string_view::npos) end = Text.size();
    std::string_view source = Text.substr(start, end - start);
    start = end + 1;
    if (source.empty()) {
      flush();
      out += '\n';
      continue;
    }
    if (source.front() == ' ') {
      flush();
      out += pad + std::string(source) + '\n';
      continue;
    }
    size_t word = 0;
    while (word < source.size()) {
      size_t blank = source.find(' ', word);
      if (blank == std::string_view::npos) blank = source.size();
      std::string_view next = source.substr(word, blank - word);
      word = blank + 1;
      if (next.empty()) continue;
      if (!line.empty() && Indent + line.size() + 1 + next.size() > kWidth) flush();
      line += (line.empty() ? "" : " ") + std::string(next);
    }
  }
  flush();
  while (out.size() >= 2 && out.ends_with("\n\n")) out.pop_back();
  return out;
}

// "  LEFT   RIGHT", RIGHT starting at kColumn, or on the next line when LEFT reaches it.
std::string Entry(const std::string& Left, const std::string& Right) {
  std::string head = "  " + Left;
  if (Right.empty()) return head + '\n';
  std::string body = Wrap(Right, kColumn);
  if (head.size() + 2 <= kColumn) return head + std::string(kColumn - head.size(), ' ') + body.substr(kColumn);
  return head + '\n' + body;
}

bool IsHelp(const CLI::App& Command, const CLI::Option* Option) { return Option == Command.get_help_ptr(); }

bool TakesValue(const CLI::Option* Option) { return Option->get_expected_max() > 0; }

std::string OptionName(const CLI::Option* Option) {
  if (!Option->get_lnames().empty()) return "--" + Option->get_lnames().front();
  return "-" + Option->get_snames().front();
}

// "-h, --help" or "--script FILE".
std::string OptionNames(const CLI::Option* Option) {
  std::string names;
  for (const std::string& s : Option->get_snames()) names += (names.empty() ? "-" : ", -") + s;
  for (const std::string& l : Option->get_lnames()) names += (names.empty() ? "--" : ", --") + l;
  if (TakesValue(Option)) names += " " + Option->get_type_name();
  return names;
}

std::string PositionalName(const CLI::Option* Option) {
  std::string name = Option->get_name(true);
  if (Option->get_items_expected_max() > 1) name += "...";
  return name;
}

std::vector<const CLI::Option*> Options(const CLI::App& Command, bool Positional) {
  return Command.get_options(
      [&](const CLI::Option* o) { return !IsHelp(Command, o) && o->nonpositional() != Positional; });
}

// "[--raw] [--json] FORM SEL.PROP": the command's options, then its arguments.
std::string Synopsis(const CLI::App& Command) {
  std::string text = Command.get_name();
  for (const CLI::Option* o : Options(Command, false)) {
    text += " [" + OptionName(o) + (TakesValue(o) ? " " + o->get_type_name() : "") + "]";
    if (o->get_expected_max() > 1) text += "...";
  }
  for (const CLI::Option* o : Options(Command, true))
    text += " " + (o->get_required() ? PositionalName(o) : "[" + PositionalName(o) + "]");
  return text;
}

std::string Summary(const CLI::App& Command) {
  const std::string& description = Command.get_description();
  return description.substr(0, description.find('\n'));
}

std::string ProgramHelp(const CLI::App& App, const std::vector<const CLI::App*>& Commands, const std::string& Notes) {
  std::string text = "Usage: designhost [--package FILE]... COMMAND [ARGS]...\n";
  text += "  or:  designhost help [COMMAND]\n  or:  designhost --version\n\n";
  text += Wrap(App.get_description(), 0) + "\nCommands:\n";
  for (const CLI::App* command : Commands) text += Entry(Synopsis(*command), Summary(*command));
  text += "\n" + Notes + "\nOptions:\n";
  for (const CLI::Option* o : App.get_options()) text += Entry(OptionNames(o), o->get_description());
  text += "\n" + App.get_footer();
  return text;
}

std::string CommandHelp(const CLI::App& Command) {
  // The summary that the list of commands shows in lower case begins the command's help as a sentence.
  std::string description = Command.get_description();
  if (!description.empty())
    description[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(description[0])));
  size_t end = description.find('\n');
  if (end == std::string::npos) end = description.size();
  if (end > 0 && description[end - 1] != '.') description.insert(end, ".");
  std::string text = "Usage: designhost " + Synopsis(Command) + "\n\n" + Wrap(description, 0);
  if (auto arguments = Options(Command, true); !arguments.empty()) {
    text += "\nArguments:\n";
    for (const CLI::Option* o : arguments) text += Entry(PositionalName(o), o->get_description());
  }
  text += "\nOptions:\n";
  for (const CLI::Option* o : Command.get_options([](const CLI::Option* o) { return o->nonpositional(); }))
    text += Entry(OptionNames(o), o->get_description());
  text += "\n" + Command.get_footer();
  return text;
}

// The help texts are made here rather than by CLI11's own formatter: one layout for the
// terminal, the man page and the completion, which reads the options from it. Commands
// answers every command, declared for the list of commands.
class THelpFormatter : public CLI::FormatterBase {
 public:
  THelpFormatter(std::string Notes, std::function<std::vector<const CLI::App*>()> Commands)
      : FNotes(std::move(Notes)), FCommands(std::move(Commands)) {}
  std::string make_help(const CLI::App* App, std::string, CLI::AppFormatMode) const override {
    return App->get_parent() ? CommandHelp(*App) : ProgramHelp(*App, FCommands(), FNotes);
  }

 private:
  std::string FNotes;
  std::function<std::vector<const CLI::App*>()> FCommands;
};

// designhost help [COMMAND].
class THelpCommand final : public TCommand {
 public:
  THelpCommand(std::string& Topic, std::function<int()> Action) : FTopic(Topic), FAction(std::move(Action)) {}

  TCommandHelp Help() const override {
    return {.Name = "help",
            .Summary = "this help, or the help of COMMAND",
            .ExitStatus = {"0  done", "2  no such command"},
            .Examples = {"designhost help set"}};
  }

  void Declare(TArguments& Arguments) override { Arguments.Add("COMMAND", FTopic, "a command of designhost"); }

  int Run(const std::vector<std::string>& /*Packages*/) override { return FAction(); }

 private:
  std::string& FTopic;
  std::function<int()> FAction;
};

bool IsOptionWord(const std::string& Word) {
  // A negative number is an argument (a value to set), as CLI11 takes it.
  return Word.size() > 1 && Word[0] == '-' && !(Word[1] >= '0' && Word[1] <= '9');
}

const CLI::Option* FindOption(const CLI::App& Command, const std::string& Word) {
  for (const CLI::Option* o : Command.get_options([](const CLI::Option* o) { return o->nonpositional(); })) {
    for (const std::string& l : o->get_lnames())
      if (Word == "--" + l) return o;
    for (const std::string& s : o->get_snames())
      if (Word == "-" + s) return o;
  }
  return nullptr;
}

std::vector<std::string> OptionWords(const CLI::App& Command) {
  std::vector<std::string> words;
  for (const CLI::Option* o : Command.get_options([](const CLI::Option* o) { return o->nonpositional(); })) {
    for (const std::string& l : o->get_lnames()) words.push_back("--" + l);
    for (const std::string& s : o->get_snames()) words.push_back("-" + s);
  }
  return words;
}

// A word as the shell takes it back: quoted when it holds anything but plain characters.
std::string ShellWord(const std::string& Word) {
  if (!Word.empty() && Word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                              "_-.,/=:+@%") == std::string::npos)
    return Word;
  std::string quoted = "'";
  for (char c : Word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CommandLineText(const std::vector<std::string>& Args) {
  std::string text = "designhost";
  for (const std::string& word : Args) text += " " + ShellWord(word);
  return text;
}

// The positions in Args, as arranged, of Command's arguments: the words after the command that
// are neither options nor their values, and every word after "--".
std::vector<size_t> ArgumentPositions(const CLI::App& App, const CLI::App& Command,
                                      const std::vector<std::string>& Args) {
  std::vector<size_t> positions;
  auto at = std::find(Args.begin(), Args.end(), Command.get_name());
  bool optionsEnded = false;
  for (size_t i = at == Args.end() ? Args.size() : static_cast<size_t>(at - Args.begin()) + 1; i < Args.size(); ++i) {
    const std::string& word = Args[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
    } else if (optionsEnded || !IsOptionWord(word)) {
      positions.push_back(i);
    } else {
      std::string name = word.substr(0, word.find('='));
      const CLI::Option* option = FindOption(Command, name);
      if (!option) option = FindOption(App, name);
      if (option && TakesValue(option) && name.size() == word.size()) ++i;
    }
  }
  return positions;
}

bool IsFormPath(const std::string& Word) {
  return Word.size() > 4 && AnsiLowerCase(Word.substr(Word.size() - 4)) == ".xfm";
}

// Arguments given in a shape the command does not take but plainly means: a form file in the
// place of another argument, or "SEL.PROP=VALUE" as one word. Answers what to type instead, or
// empty. Arguments: the positions in Args of the command's arguments.
std::string WrongOrder(const CLI::App& Command, std::vector<std::string> Args, const std::vector<size_t>& Arguments) {
  const std::vector<const CLI::Option*> declared = Options(Command, true);
  if (!declared.empty() && declared.front()->get_name() == "FORM" && Arguments.size() >= 2 &&
      !IsFormPath(Args[Arguments.front()])) {
    auto form = std::find_if(Arguments.begin() + 1, Arguments.end(), [&](size_t at) { return IsFormPath(Args[at]); });
    if (form != Arguments.end()) {
      const std::string path = Args[*form];
      for (auto at = form; at != Arguments.begin(); --at) Args[*at] = Args[*(at - 1)];
      Args[Arguments.front()] = path;
      return "the form comes first; type: " + CommandLineText(Args);
    }
  }
  for (size_t i = 0; i + 1 < declared.size() && i < Arguments.size(); ++i) {
    if (declared[i]->get_name() != "SEL.PROP" || declared[i + 1]->get_name() != "VALUE" || Arguments.size() != i + 1)
      continue;
    const std::string word = Args[Arguments[i]];
    size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    std::string value = word.substr(equals + 1);
    Args[Arguments[i]] = word.substr(0, equals);
    auto after = Args.begin() + static_cast<std::ptrdiff_t>(Arguments[i]) + 1;
    after = Args.insert(after, value);
    if (value.starts_with('-') && std::find(Args.begin(), after, "--") == after) Args.insert(after, "--");
    return "the property and its value are two words; type: " + CommandLineText(Args);
  }
  return {};
}

}  // namespace

TArgument& TArgument::Required() {
  FOption->required();
  return *this;
}

TArgument& TArgument::TypeName(const std::string& Name) {
  FOption->type_name(Name);
  return *this;
}

TArgument& TArgument::Excludes(const TArgument& Other) {
  FOption->excludes(Other.FOption);
  return *this;
}

TArgument TArguments::Flag(const std::string& Name, bool& Value, const std::string& Description) {
  return TArgument(FCommand.add_flag(Name, Value, Description));
}

TArgument TArguments::Add(const std::string& Name, std::string& Value, const std::string& Description) {
  return TArgument(FCommand.add_option(Name, Value, Description));
}

TArgument TArguments::Add(const std::string& Name, std::optional<std::string>& Value, const std::string& Description) {
  return TArgument(FCommand.add_option(Name, Value, Description));
}

TArgument TArguments::Add(const std::string& Name, std::vector<std::string>& Value, const std::string& Description) {
  return TArgument(FCommand.add_option(Name, Value, Description));
}

TCommandLine::TCommandLine(const std::string& Description, const std::string& Notes, const std::string& Examples)
    : FApp(std::make_unique<CLI::App>(Description, "designhost")) {
  FApp->formatter(std::make_shared<THelpFormatter>(Notes, [this] { return DeclaredAll(); }));
  FApp->set_help_flag("-h,--help", "print this help and exit");
  FApp->footer(Examples);
  // One command a run: a later word that names another command is an argument of the first,
  // which takes it or refuses it, never a second command run in its stead.
  FApp->require_subcommand(0, 1);
  FApp->add_option("--package", FPackages, "load another design package (may be repeated)")->type_name("FILE");
  FApp->set_version_flag("--version", std::string("designhost ") + TIRVENDAL_VERSION,
                         "print \"designhost VERSION\" and exit");
  Add(std::make_unique<THelpCommand>(FHelpTopic, [this] { return RunHelp(); }));
}

TCommandLine::~TCommandLine() = default;

void TCommandLine::Add(std::unique_ptr<TCommand> Command) {
  std::string name = Command->Help().Name;
  FCommands.push_back({std::move(name), std::move(Command)});
}

CLI::App* TCommandLine::Declared(TEntry& Entry) {
  if (Entry.Parser) return Entry.Parser;
  const TCommandHelp help = Entry.Command->Help();
  std::string description = help.Summary + (help.Description.empty() ? "" : "\n\n" + help.Description);
  CLI::App* command = FApp->add_subcommand(help.Name, description);
  std::string footer = "Exit status:\n";
  for (const std::string& status : help.ExitStatus) footer += "  " + status + '\n';
  if (!help.Examples.empty()) footer += help.Examples.size() == 1 ? "\nExample:\n" : "\nExamples:\n";
  for (const std::string& example : help.Examples) footer += "  " + example + '\n';
  command->footer(footer);
  TArguments arguments(*command);
  Entry.Command->Declare(arguments);
  Entry.Parser = command;
  return command;
}

std::vector<const CLI::App*> TCommandLine::DeclaredAll() {
  std::vector<const CLI::App*> commands;
  for (TEntry& entry : FCommands) commands.push_back(Declared(entry));
  return commands;
}

TCommandLine::TEntry* TCommandLine::Find(const std::string& Name) {
  auto entry = std::find_if(FCommands.begin(), FCommands.end(), [&](const TEntry& e) { return e.Name == Name; });
  return entry == FCommands.end() ? nullptr : &*entry;
}

std::vector<std::string> TCommandLine::Names() const {
  std::vector<std::string> names;
  for (const TEntry& entry : FCommands) names.push_back(entry.Name);
  return names;
}

int TCommandLine::RunHelp() {
  if (FHelpTopic.empty()) {
    std::cout << FApp->help();
    return kExitDone;
  }
  if (TEntry* topic = Find(FHelpTopic)) {
    std::cout << Declared(*topic)->help();
    return kExitDone;
  }
  return UsageError(Declared(FCommands.front()), "no command '" + FHelpTopic + "'" + DidYouMean(FHelpTopic, Names()));
}

std::string TCommandLine::Arrange(std::vector<std::string>& Args, const CLI::App*& Command) const {
  Command = nullptr;
  std::vector<std::string> moved, kept;
  bool optionsEnded = false;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& word = Args[i];
    if (!optionsEnded && word == "--") {
      // Every word after it is an argument, even one that starts with '-'.
      optionsEnded = true;
      kept.push_back(word);
      continue;
    }
    if (optionsEnded || !IsOptionWord(word)) {
      kept.push_back(word);
      if (Command || optionsEnded) continue;
      auto named = std::find_if(FCommands.begin(), FCommands.end(), [&](const TEntry& e) { return e.Name == word; });
      if (named == FCommands.end()) return "unknown command '" + word + "'" + DidYouMean(word, Names());
      Command = named->Parser;  // declared by Dispatch, as every word that names a command
      continue;
    }
    std::string name = word.substr(0, word.find('='));
    const CLI::Option* option = Command ? FindOption(*Command, name) : nullptr;
    // An option of the program after the command goes before it, where the parser takes it.
    std::vector<std::string>& to = option || !Command ? kept : moved;
    if (!option) option = FindOption(*FApp, name);
    if (!option) {
      std::vector<std::string> candidates = OptionWords(*FApp);
      if (Command) candidates = OptionWords(*Command);
      return "unknown option '" + name + "'" + DidYouMean(name, candidates);
    }
    to.push_back(word);
    if (TakesValue(option) && name.size() == word.size() && i + 1 < Args.size()) to.push_back(Args[++i]);
  }
  moved.insert(moved.end(), kept.begin(), kept.end());
  Args = std::move(moved);
  return {};
}

int TCommandLine::UsageError(const CLI::App* Command, const std::string& Message) const {
  std::cout.flush();
  if (Command) {
    std::cerr << "designhost " << Command->get_name() << ": " << Printable(Message) << "\nUsage: designhost "
              << Synopsis(*Command) << "\nTry 'designhost help " << Command->get_name() << "' for more.\n";
  } else {
    std::cerr << "designhost: " << Printable(Message) << "\nTry 'designhost --help' for the list of commands.\n";
  }
  return kExitUsage;
}

int TCommandLine::Run(int argc, const char* const* argv) {
  TStandardOutput output;
  const int status = Dispatch(argc, argv);
  // Whatever the command was, its output has been written whole before its status is chosen.
  try {
    TStandardOutput::Flush();
  } catch (const EOutputClosed&) {
    return kExitError;  // the reader went away: nothing more to say, and to no one
  } catch (const Exception& e) {
    std::cerr << Printable(ErrorLine(e)) << '\n';
    return kExitError;
  }
  return status;
}

int TCommandLine::Dispatch(int argc, const char* const* argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Only the commands that the words name are declared to the parser: one, as a rule, not all of
  // them at every start. The parser takes any of them for a command wherever it comes, so every
  // one named is there.
  for (const std::string& word : args)
    if (TEntry* entry = Find(word)) Declared(*entry);
  const CLI::App* command = nullptr;
  if (std::string unknown = Arrange(args, command); !unknown.empty()) return UsageError(command, unknown);
  if (command) {
    if (std::string hint = WrongOrder(*command, args, ArgumentPositions(*FApp, *command, args)); !hint.empty())
      return UsageError(command, hint);
  }
  const CLI::App* help = FCommands.front().Parser;
  if (command && command == help) {
    // Read here: CLI11 would take a command named after help for the command itself.
    auto at = std::find(args.begin(), args.end(), "help");
    std::vector<std::string> topics;
    for (++at; at != args.end(); ++at) {
      if (*at == "-h" || *at == "--help") {
        std::cout << help->help();
        return kExitDone;
      }
      if (*at != "--") topics.push_back(*at);
    }
    if (topics.size() > 1) return UsageError(help, "one COMMAND at most, not '" + topics[1] + "' too");
    FHelpTopic = topics.empty() ? std::string() : topics.front();
    return RunHelp();
  }
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
    FApp->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    std::cout << FApp->help();
    return kExitDone;
  } catch (const CLI::CallForVersion& e) {
    std::cout << e.what() << '\n';
    return kExitDone;
  } catch (const CLI::ParseError& e) {
    return UsageError(command, e.what());
  }
  auto action =
      std::find_if(FCommands.begin(), FCommands.end(), [](const TEntry& e) { return e.Parser && e.Parser->parsed(); });
  if (action == FCommands.end()) return UsageError(nullptr, "a command is required");
  try {
    return action->Command->Run(FPackages);
  } catch (const EUsageError& e) {
    return UsageError(action->Parser, e.Message());
  } catch (const EOutputClosed&) {
    return kExitError;
  } catch (const Exception& e) {
    std::cout.flush();
    std::cerr << Printable(ErrorLine(e)) << '\n';
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << Printable(std::string("error: Exception: ") + e.what()) << '\n';
  }
  return kExitError;
}

std::string ErrorLine(const Exception& E) {
  if (const auto* placed = dynamic_cast<const EFileLineError*>(&E))
    return placed->FileName() + ":" + std::to_string(placed->Line()) + ": error: " + E.ClassName() + ": " +
           placed->Text();
  return std::string("error: ") + E.ClassName() + ": " + E.Message();
}
