// vrkcli: the catalog operations from the command line, for scripting and batch work.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>

#include "app/help/ProgramHelp.h"
#include "app/vrkcli/Cli.h"

int main(int argc, char** argv) {
  using namespace vrk::cli;
  // The user's locale, for what follows it: the "Standard" format of the totals and the dates of
  // dBase imports. Numbers in field text are read and written with a period whatever it says.
  std::setlocale(LC_ALL, "");
  const vrk::help::ProgramHelp& help = vrk::help::VrkcliHelp();
  if (vrk::help::AnswerHelpOrVersion(help, argc, argv)) return 0;
  if (argc < 2) {
    std::cerr << vrk::help::UsageText(help);
    return kBadInput;
  }
  const std::string command = argv[1];
  const Args args(argv + 2, argv + argc);
  // Only a command the help describes runs.
  const std::map<std::string, int (*)(const Args&)> commands = {
      {"new", CommandNew},
      {"add", CommandAdd},
      {"info", CommandInfo},
      {"dump", CommandDump},
      {"walk", CommandWalk},
      {"delete", CommandDelete},
      {"undelete", CommandUndelete},
      {"reindex", CommandReindex},
      {"totals", CommandTotals},
      {"import-dbf", CommandImportDbf},
      {"export-dbf", CommandExportDbf},
      {"import-csv", CommandImportCsv},
      {"export-csv", CommandExportCsv},
      {"export-xlsx", CommandExportXlsx},
      {"demo", CommandDemo},
      {"catalogs", CommandCatalogs},
      {"edit-layout", CommandEditLayout},
      {"rename", CommandRename},
      {"remove", CommandRemove},
      {"reserve", CommandReserve},
      {"backup", CommandBackup},
      {"sort", CommandSort},
      {"unsort", CommandUnsort},
      {"copy-entries", CommandCopyEntries},
      {"eliminate", CommandEliminate},
      {"set-code", CommandSetCode},
      {"memo", CommandMemo},
      {"media", CommandMedia},
      {"macros", CommandMacros},
      {"format", CommandFormat},
      {"settings", CommandSettings},
      {"replace", CommandReplace},
      {"search", CommandSearch},
      {"list-range", CommandListRange},
      {"list-alpha", CommandListAlpha},
      {"find-deleted", CommandFindDeleted},
      {"global-search", CommandGlobalSearch},
  };
  const auto it = commands.find(command);
  if (it == commands.end() || vrk::help::FindCommand(help, command) == nullptr) {
    std::cerr << "vrkcli: unknown command " << command << '\n' << vrk::help::UsageText(help);
    return kBadInput;
  }
  const int status = it->second(args);
  // What a command prints is part of what it did: output that the disk or pipe refused is a failure.
  if (status == 0 && (!std::cout.flush() || std::fflush(stdout) != 0 || std::ferror(stdout) != 0)) {
    std::cerr << kOutputRefused << '\n';
    return kFailed;
  }
  return status;
}
