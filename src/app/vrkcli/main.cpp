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
               "  import-csv FILE BASE [--key NAME]...\n"
               "                              the CSV file FILE (a header row, then rows) into the new\n"
               "                              catalog BASE, the columns NAME as key fields\n"
               "  export-csv BASE FILE [--overwrite]\n"
               "                              every entry of BASE into the CSV file FILE\n"
               "  demo BASE                   a demo record collection, made the current catalog\n"
               "  catalogs DIR                the catalogs of DIR and their entry counts\n"
               "  edit-layout BASE FIELD...   a new layout for BASE, its entries rebuilt when lengths change\n"
               "  rename BASE NEWNAME | remove BASE --yes | reserve BASE N | backup BASE\n"
               "  sort BASE FIELD...          sorted by 1 to 9 fields | unsort BASE\n"
               "  copy-entries SOURCE DEST [D=S]...\n"
               "                              the entries of SOURCE appended to DEST, destination field D\n"
               "                              taking source field S (each D=S swaps, from D=D for all)\n"
               "  eliminate BASE --yes        the deleted entries removed for good\n"
               "  set-code N                  the security code, 501 or more for none\n"
               "  memo BASE N [--set TEXT | --remove]\n"
               "                              entry N's memo, or a new text for it, or none\n"
               "  media BASE N [--picture PATH] [--sound PATH]\n"
               "                              entry N's picture and sound\n"
               "  macros BASE [KEY=TEXT]...   the text macros, KEY 1-9, 0 or a letter\n"
               "  format new NAME ITEM@ROW:COL:WIDTH... [--lines N] [--titles]\n"
               "                              the report format NAME.FMT; ITEM is a field (1-21 or a name of\n"
               "                              the current catalog) or # for the entry number\n"
               "  format show NAME | format select BASE NAME\n"
               "  settings BASE [KEY=VALUE]...\n"
               "                              the report settings of BASE, shown or changed (page-length,\n"
               "                              top-margin, dashed-line, column-headings, lock-top-line 0/1/2,\n"
               "                              print-memos, page-numbers, qv-max-lines, qv-column-width)\n"
               "  replace BASE SEARCH REPLACEMENT [--field FIELD] [--from N] [--case | --ignore-case]\n"
               "                              every SEARCH replaced in FIELD, or in every field, from entry N on\n"
               "  search BASE [FIELD=TEXT]... [--alpha KEYFIELD] [--start TEXT] [--end FIELD=TEXT]...\n"
               "  list-range BASE START END | find-deleted BASE\n"
               "  list-alpha BASE KEYFIELD [--start TEXT] [--end FIELD=TEXT]...\n"
               "  global-search BASE TEXT [--case | --ignore-case]\n"
               "                              the entries found, one line each as dump writes them;\n"
               "                              with --dbf FILE into a new dBase III table instead; with\n"
               "                              --ascii FILE into an ASCII report (FILE replaced), or with\n"
               "                              --pdf FILE [--title TEXT] [--paper continuous|single|labels]\n"
               "                              printed into a PDF file, both by the catalog's report format\n";
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
      {"import-csv", CommandImportCsv},
      {"export-csv", CommandExportCsv},
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
  if (it == commands.end()) {
    std::cerr << "vrkcli: unknown command " << command << '\n';
    return Usage();
  }
  return it->second(args);
}
