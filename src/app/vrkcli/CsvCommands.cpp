// The CSV commands of vrkcli: a CSV file into a new catalog, a catalog into a CSV file.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace vrk::cli {

int CommandImportCsv(const Args& args) {
  Args files, keys;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--key") {
      files.push_back(args[i]);
    } else if (i + 1 < args.size()) {
      keys.push_back(args[++i]);
    } else {
      return BadUsage("import-csv");
    }
  }
  if (files.size() != 2) return BadUsage("import-csv");
  if (!FileExists(files[0])) return BadInput("no file " + files[0]);
  std::string directory, name;
  Session session;
  if (const int status = CheckNewBase(session.ui, files[1], directory, name)) return status;
  std::optional<CsvImportPlan> plan = PlanCsvImport(session.ui, files[0]);
  if (!plan) return kFailed;
  for (const std::string& key : keys) {
    const int field = FindField(plan->layout.fields, key);
    if (field < 0 || plan->layout.lengths[static_cast<std::size_t>(field)] == 0) {
      return BadInput("no column " + key + " in " + files[0]);
    }
    plan->layout.fields[static_cast<std::size_t>(field)].Type = kKeyField;
  }
  if (!ImportCsv(session.program, files[0], *plan, name, directory)) return kFailed;
  std::cout << EntriesText(plan->rows) << " imported into " << files[1] << '\n';
  return 0;
}

int CommandExportCsv(const Args& args) {
  Args files = args;
  const bool overwrite = TakeFlag(files, "--overwrite");
  if (files.size() != 2) return BadUsage("export-csv");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (const int status = CheckExportTarget(program, files[1], files[1], overwrite)) return status;
  const EntryNumber count = ExportCsv(program, files[1]);
  if (count < 0) return kFailed;
  std::cout << EntriesText(count) << " written to " << files[1] << '\n';
  return 0;
}

}  // namespace vrk::cli
