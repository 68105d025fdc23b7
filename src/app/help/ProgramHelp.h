// The command-line help of vrk and vrkcli, written once: `--help` prints it, vrkcli's usage messages
// quote it, and the build turns it into the manual pages vrk(1) and vrkcli(1), so that none of them
// can tell a different story.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vrk::help {

// A term and what it means: an option, a variable, a file, an exit status, or an example's command
// line and what it does.
struct Item {
  std::string_view term;
  std::string_view text;
};

// A command of vrkcli: its name, its command lines (after "vrkcli "), what it does, and what runs it
// with the arguments after its name and returns the exit status. A record without it does not compile.
struct Command {
  std::string_view name;
  std::vector<std::string_view> usages;
  std::string_view text;
  int (&run)(const std::vector<std::string>& args);
};

struct CommandGroup {
  std::string_view title;
  std::vector<Command> commands;
};

struct ProgramHelp {
  std::string_view name = {};
  std::string_view summary = {};  // what the program is, in a few words
  std::vector<std::string_view> synopsis = {};
  std::vector<std::string_view> description = {};  // paragraphs
  std::vector<Item> options = {};
  std::vector<CommandGroup> commands = {};
  std::vector<std::string_view> notes = {};  // paragraphs after the commands
  std::vector<Item> exitStatus = {};
  std::vector<Item> environment = {};
  std::vector<Item> files = {};
  std::vector<Item> examples = {};
  std::vector<std::string_view> seeAlso = {};  // "vrk(1)"
};

const ProgramHelp& VrkHelp();
const ProgramHelp& VrkbackHelp();  // vrkcli's is app/vrkcli/VrkcliHelp.h

// The programs' version, "4.12".
std::string_view Version();
// When the only argument is --help or --version, prints the help or "NAME VERSION" on the standard
// output and returns true: the program then ends with status 0.
bool AnswerHelpOrVersion(const ProgramHelp& help, int argc, char** argv);

// The command of the program called `name`, or null.
const Command* FindCommand(const ProgramHelp& help, std::string_view name);

// The whole help as `--help` prints it, lines of at most 79 columns.
std::string HelpText(const ProgramHelp& help);
// The usage lines, "usage: vrkcli demo BASE", of one command, or of the program and every command.
std::string UsageText(const ProgramHelp& help, const Command* command = nullptr);
// The manual page in roff with the man macros. `version` and `date` go into its title line.
std::string ManPage(const ProgramHelp& help, std::string_view version, std::string_view date);

}  // namespace vrk::help
