// The dBase III commands of vrkcli: a table into a new catalog, a catalog into a table.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/vrkcli/Cli.h"
#include "dbase/DbfExport.h"
#include "dbase/DbfImport.h"
#include "index/Keys.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk::cli {
namespace {

namespace fs = std::filesystem;

bool DirectoryExists(const std::string& directory) {
  std::error_code ec;
  return fs::is_directory(NativePath(directory.empty() ? "/" : directory), ec);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// True when `path` is one of the open catalog's files, whatever link or other name reaches it:
// writing a table there would destroy the catalog being exported.
bool IsCatalogFile(const Program& program, const std::string& path) {
  sys::FileId target;
  if (sys::IdOfPath(NativePath(path), target) != 0) return false;
  std::vector<std::string> files;
  for (const char* extension : {".DAT", ".SET", ".MCR", ".MEM"}) files.push_back(program.BasePath() + extension);
  for (int field = 0; field < kFieldCount; ++field) {
    files.push_back(program.catalogDirectory + "/" + IndexFileName(field, program.catalogName));
  }
  return std::any_of(files.begin(), files.end(), [&](const std::string& file) {
    sys::FileId id;
    return sys::IdOfPath(NativePath(file), id) == 0 && id == target;
  });
}

}  // namespace

int CommandImportDbf(const Args& args) {
  if (args.size() != 2) return BadUsage("import-dbf");
  const std::string table = DbfTableFile(args[0]);
  if (table.empty() || !FileExists(table)) return BadInput("no dBase III table " + args[0]);
  std::string directory, name;
  if (!SplitCatalogPath(args[1], directory, name)) {
    return BadInput("not a catalog base path (directory/NAME, NAME 1 to 8 letters and digits): " + args[1]);
  }
  if (!DirectoryExists(directory)) return BadInput("no directory for " + args[1]);
  if (FileExists(directory + "/" + name + ".DAT")) return BadInput("Catalog already exists. Import Aborted.");
  Session session;
  DbfEngine engine;
  return ImportDBF(session.program, engine, args[0], name, directory) ? 0 : kFailed;
}

int CommandExportDbf(const Args& args) {
  Args files;
  bool overwrite = false;
  for (const std::string& arg : args) {
    if (arg == "--overwrite") {
      overwrite = true;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return BadUsage("export-dbf");
  const std::string& path = files[1];
  const std::string table = DbfTableFile(path);
  if (table.empty()) return BadInput("not a file name: " + files[1]);
  if (!DirectoryExists(DirectoryOf(table))) return BadInput("no directory for " + files[1]);
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (IsCatalogFile(program, table)) return BadInput(files[1] + " is a file of the catalog " + files[0]);
  if (FileExists(table) && !overwrite) return BadInput(files[1] + " already exists; --overwrite replaces it");
  DbfEngine engine;
  const EntryNumber count = ExportEntries(program, engine, path, 1, program.header.Count());
  if (count < 0) return kFailed;
  std::cout << Utf8FromAnsi(ExportCompletionText(count, PathText(table))) << '\n';
  return count == program.header.Count() ? 0 : kFailed;
}

}  // namespace vrk::cli
