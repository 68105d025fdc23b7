#include "shell/Spreadsheets.h"

#include "catalog/Journal.h"
#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"
#include "xlsx/XlsxExport.h"

namespace vrk {
namespace {

constexpr std::size_t kLongestCatalogName = 8;

// The directory new catalogs and exports go to first: the current catalog's, or the program's.
std::string WorkingDirectory(const Program& program) {
  return program.CatalogOpen() ? program.catalogDirectory : program.programDirectory;
}

// A catalog name made of a file's name: its letters and digits before the extension, upper-cased.
std::string NameOfFile(const std::string& path) {
  const std::string file = FileNamePart(path);
  std::string name;
  for (const char c : file.substr(0, file.rfind('.'))) {
    const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (letterOrDigit && name.size() < kLongestCatalogName) name += c;
  }
  return UpperAscii(name);
}

void ShowWritten(Program& program, EntryNumber count, const std::string& kind, const std::string& path) {
  if (count >= 0) program.ui.Message("Wrote " + std::to_string(count) + " entries to " + kind + ": " + PathText(path));
}

}  // namespace

std::string ChooseExportFile(Program& program, const std::string& title, const std::string& filter,
                             const std::string& extension) {
  if (!program.CatalogOpen()) {
    program.ui.Beep();
    return {};
  }
  const auto chosen = program.ui.ChooseSaveFile({.title = title,
                                                 .filter = filter,
                                                 .directory = WorkingDirectory(program),
                                                 .fileName = program.catalogName + extension,
                                                 .confirmOverwrite = true});
  if (!chosen || chosen->empty()) return {};
  const std::string path = FileNamePart(*chosen).find('.') == std::string::npos ? *chosen + extension : *chosen;
  return RefuseOutputTarget(program, path) ? std::string() : path;
}

void ImportCsvCommand(Program& program) {
  Ui& ui = program.ui;
  if (program.readOnly) {
    ui.Message("An import makes a catalog, which the read-only state does not allow.", Icon::Exclamation);
    return;
  }
  const std::string directory = WorkingDirectory(program);
  const auto path = ui.ChooseOpenFile(
      {.title = "Import CSV", .filter = "CSV (*.csv)|*.csv|Text (*.txt)|*.txt", .directory = directory});
  if (!path || path->empty()) return;
  CsvDialectChoice choice{.dialect = {.delimiter = '\0'}, .importing = true};
  if (!ui.dialogs.Show(choice)) return;
  const auto typed = ui.AskName({.caption = "Import CSV",
                                 .question = "Enter the name of the new catalog",
                                 .preset = NameOfFile(*path),
                                 .anyTextAllowed = false,
                                 .maxLength = static_cast<int>(kLongestCatalogName)});
  if (!typed) return;
  const std::string name = UpperAscii(*typed);
  if (!FinishJournals(ui, program.fileSystem, directory, name)) return;
  if (FileExists(directory + "/" + name + ".DAT")) {
    ui.Message("Catalog already exists. Import Aborted.", Icon::Exclamation);
    return;
  }
  const std::optional<CsvImportPlan> plan = PlanCsvImport(ui, *path, choice.dialect);
  if (plan && ImportCsv(program, *path, *plan, name, directory)) {
    ui.Message(std::to_string(plan->rows) + " entries imported into the catalog " + name + ".");
  }
}

void ExportCsvCommand(Program& program) {
  const std::string path = ChooseExportFile(program, "Export CSV", "CSV (*.csv)|*.csv", ".csv");
  if (path.empty()) return;
  CsvDialectChoice choice{.dialect = {}, .importing = false};
  if (!program.ui.dialogs.Show(choice)) return;
  ShowWritten(program, ExportCsv(program, path, choice.dialect), "CSV file", path);
}

void ExportSpreadsheetCommand(Program& program) {
  const std::string path = ChooseExportFile(program, "Export Spreadsheet", "Spreadsheet (*.xlsx)|*.xlsx", ".xlsx");
  if (!path.empty()) ShowWritten(program, ExportXlsx(program, path), "spreadsheet file", path);
}

}  // namespace vrk
