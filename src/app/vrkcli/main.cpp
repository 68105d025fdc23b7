// vrkcli: the catalog operations from the command line, for scripting and batch work.
#include <clocale>
#include <iostream>
#include <map>
#include <string>

#include "app/vrkcli/Cli.h"

namespace vrk::cli {
namespace {

int Usage() {
  std::cerr << "usage: vrkcli COMMAND ARGUMENTS\n"
               "  new BASE FIELD...           FIELD is NAME:LENGTH[:key][:sum][:calc=XoY]\n"
               "  add BASE FIELD=VALUE...     FIELD is a number 1-21 or a field name\n"
               "  info BASE | dump BASE | walk BASE FIELD\n"
               "  delete BASE N | undelete BASE N | reindex BASE | totals BASE\n"
               "  import-dbf FILE BASE        the dBase III table FILE into the new catalog BASE\n"
               "  export-dbf BASE FILE [--overwrite]\n"
               "                              every entry of BASE into the dBase III table FILE\n"
               "  demo BASE                   a demo record collection, made the current catalog\n";
  return kBadInput;
}

}  // namespace
}  // namespace vrk::cli

int main(int argc, char** argv) {
  using namespace vrk::cli;
  // The user's locale, for what follows it: the "Standard" format of the totals and the dates of
  // dBase imports. Numbers in field text are read and written with a period whatever it says.
  std::setlocale(LC_ALL, "");
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const Args args(argv + 2, argv + argc);
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
      {"demo", CommandDemo},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) {
    std::cerr << "vrkcli: unknown command " << command << '\n';
    return Usage();
  }
  return it->second(args);
}
