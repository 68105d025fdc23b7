// The dBase III commands of vrkcli: a table into a new catalog, a catalog into a table.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "dbase/DbfExport.h"
#include "dbase/DbfImport.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace vrk::cli {

int CommandImportDbf(const Args& args) {
  if (args.size() != 2) return BadUsage("import-dbf");
  const std::string table = DbfTableFile(args[0]);
  if (table.empty() || !FileExists(table)) return BadInput("no dBase III table " + args[0]);
  std::string directory, name;
  if (const int status = CheckNewBase(args[1], directory, name)) return status;
  Session session;
  DbfEngine engine;
  return ImportDBF(session.program, engine, args[0], name, directory) ? 0 : kFailed;
}

int CommandExportDbf(const Args& args) {
  Args files = args;
  const bool overwrite = TakeFlag(files, "--overwrite");
  if (files.size() != 2) return BadUsage("export-dbf");
  const std::string& path = files[1];
  const std::string table = DbfTableFile(path);
  if (table.empty()) return BadInput("not a file name: " + files[1]);
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (const int status = CheckExportTarget(program, files[1], table, overwrite)) return status;
  DbfEngine engine;
  const EntryNumber count = ExportEntries(program, engine, path, 1, program.header.Count());
  if (count < 0) return kFailed;
  std::cout << Utf8FromAnsi(ExportCompletionText(count, PathText(table))) << '\n';
  return count == program.header.Count() ? 0 : kFailed;
}

}  // namespace vrk::cli
