// File > Import CSV, Export CSV and Export Spreadsheet on the main window: a file chooser, for CSV then
// the delimiter and encoding, and then the import and exports vrkcli runs, with the gauge.
#pragma once

#include "csv/CsvFormat.h"
#include "shell/Program.h"

namespace vrk {

// The delimiter and encoding dialog's record. An import may leave the delimiter 0, to be found from
// the file; an export may ask for a UTF-8 byte-order mark.
struct CsvDialectChoice {
  CsvDialect dialect;
  bool importing = false;
};

// Chooses a CSV file, its delimiter and encoding, and a name, and imports the file as a new catalog
// in the current catalog's directory (the program directory without one); the current catalog stays.
void ImportCsvCommand(Program& program);
// Chooses a CSV file, its delimiter and encoding, and exports the current catalog into it.
void ExportCsvCommand(Program& program);
// Chooses a workbook (.xlsx) and exports the current catalog into it.
void ExportSpreadsheetCommand(Program& program);
// The file an export writes, chosen in the save dialog: with the extension when it has none, and no
// file the program lives on. Empty when the user cancelled or the file was refused (which has been
// said); a beep without a catalog.
std::string ChooseExportFile(Program& program, const std::string& title, const std::string& filter,
                             const std::string& extension);

}  // namespace vrk
