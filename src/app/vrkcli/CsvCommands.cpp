// The spreadsheet commands of vrkcli: a CSV file into a new catalog, a catalog into a CSV file or a
// workbook.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "xlsx/XlsxExport.h"

namespace vrk::cli {
namespace {

// Takes the dialect's options out of `args`: --delimiter C and --encoding E, --no-guard, and for an
// export --bom. Returns 0, or the exit status after saying what is wrong.
int TakeCsvOptions(Args& args, std::string_view command, CsvDialect& dialect) {
  const bool exporting = command == "export-csv";
  dialect.guard = !TakeFlag(args, "--no-guard");
  dialect.byteOrderMark = exporting && TakeFlag(args, "--bom");
  Args rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option != "--delimiter" && option != "--encoding") {
      rest.push_back(option);
      continue;
    }
    if (i + 1 == args.size()) return BadUsage(command);
    const std::string& value = args[++i];
    if (option == "--delimiter") {
      dialect.delimiter = CsvDelimiterNamed(value);
      if (dialect.delimiter == '\0') return BadInput("--delimiter is , ; | or tab: " + value);
    } else if (const std::optional<CsvEncoding> encoding = CsvEncodingNamed(value)) {
      dialect.encoding = *encoding;
    } else {
      return BadInput("--encoding is utf-8, cp1252, latin1 or utf-16: " + value);
    }
  }
  if (dialect.byteOrderMark && dialect.encoding != CsvEncoding::kUtf8) {
    return BadInput("--bom goes with --encoding utf-8 (utf-16 always has one)");
  }
  args = rest;
  return 0;
}

}  // namespace

int CommandImportCsv(const Args& args) {
  Args options = args;
  CsvDialect dialect{.delimiter = '\0'};  // found from the file unless --delimiter names it
  if (const int status = TakeCsvOptions(options, "import-csv", dialect)) return status;
  Args files, keys;
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (options[i] != "--key") {
      files.push_back(options[i]);
    } else if (i + 1 < options.size()) {
      keys.push_back(options[++i]);
    } else {
      return BadUsage("import-csv");
    }
  }
  if (files.size() != 2) return BadUsage("import-csv");
  if (!FileExists(files[0])) return BadInput("no file " + files[0]);
  std::string directory, name;
  Session session;
  if (const int status = CheckNewBase(session.ui, files[1], directory, name)) return status;
  std::optional<CsvImportPlan> plan = PlanCsvImport(session.ui, files[0], dialect);
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
  CsvDialect dialect;
  if (const int status = TakeCsvOptions(files, "export-csv", dialect)) return status;
  if (files.size() != 2) return BadUsage("export-csv");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (const int status = CheckExportTarget(program, files[1], files[1], overwrite)) return status;
  const EntryNumber count = ExportCsv(program, files[1], dialect);
  if (count < 0) return kFailed;
  std::cout << EntriesText(count) << " written to " << files[1] << '\n';
  return 0;
}

int CommandExportXlsx(const Args& args) {
  Args files = args;
  const bool overwrite = TakeFlag(files, "--overwrite");
  if (files.size() != 2) return BadUsage("export-xlsx");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, files[0], CatalogAccess::kRead)) return status;
  if (const int status = CheckExportTarget(program, files[1], files[1], overwrite)) return status;
  const EntryNumber count = ExportXlsx(program, files[1]);
  if (count < 0) return kFailed;
  std::cout << EntriesText(count) << " written to " << files[1] << '\n';
  return 0;
}

}  // namespace vrk::cli
