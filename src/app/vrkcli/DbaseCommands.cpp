// The dBase III commands of vrkcli: a table into a new catalog, a catalog into a table.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "csv/CsvFormat.h"
#include "dbase/DbfExport.h"
#include "dbase/DbfImport.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk::cli {

int CommandImportDbf(const Args& args) {
  if (args.size() != 2) return BadUsage("import-dbf");
  const std::string table = DbfTableFile(args[0]);
  if (table.empty() || !FileExists(table)) return BadInput("no dBase III table " + args[0]);
  std::string directory, name;
  Session session;
  if (const int status = CheckNewBase(session.ui, args[1], directory, name)) return status;
  DbfEngine engine;
  return ImportDBF(session.program, engine, args[0], name, directory) ? 0 : kFailed;
}

int CommandExportDbf(const Args& args) {
  Args files = args;
  const bool overwrite = TakeFlag(files, "--overwrite");
  if (files.size() != 2) return BadUsage("export-dbf");
  // The table is the file given, its name as it stands.
  const std::string& table = files[1];
  if (DbfTableFile(table).empty()) return BadInput("not a file name: " + files[1]);
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (const int status = CheckExportTarget(program, files[1], table, overwrite)) return status;
  DbfEngine engine;
  // Written beside the table and put in its place once whole: a failure leaves the table as it was.
  const std::string staged = NativePath(DbfTableFile(table + ".new"));  // table names are upper case: NAME.DBF.NEW
  const EntryNumber count = ExportEntries(program, engine, staged, 1, program.header.Count());
  const bool whole = count == program.header.Count();
  const int error = whole ? sys::RenameFile(program.fileSystem, staged, table) : 0;
  if (!whole || error != 0) {
    (void)sys::RemoveFile(program.fileSystem, staged);
    // A table that could not be made has had its message.
    if (count >= 0 || error != 0) {
      session.ui.Message(PathText(table) + " was not written" + (error != 0 ? " (" + ErrorText(error) + ")" : "") +
                             "; it is left as it was.",
                         Icon::Exclamation);
    }
    return kFailed;
  }
  if (!WriteDBFCodePage(program, table)) return kFailed;
  std::cout << Utf8FromAnsi(ExportCompletionText(count, PathText(table))) << '\n';
  return 0;
}

}  // namespace vrk::cli
