// Reading a CSV file with a header row into a new catalog: each column becomes a field named by the
// header and as long as the column's longest value (1 to 80 characters), and each row an entry. When
// the header starts with Number,Status, as an export writes it, those two columns are no fields and
// "deleted" in Status makes the entry deleted. The file is read twice: once to lay the catalog out and
// find what is wrong before anything is made, once to write the entries; no more than a row is held.
#pragma once

#include <optional>
#include <string>

#include "catalog/CatalogStore.h"
#include "catalog/Layout.h"
#include "csv/CsvFormat.h"

namespace vrk {

// What the import changes of the file's text, said when it is done.
struct CsvChanges {
  long cutValues = 0;  // values longer than a field can be, cut to 80 characters
  long unheld = 0;     // characters code page 1252 lacks (or bytes that are no UTF-8), now '?'
  long controls = 0;   // line breaks and other control characters, now blanks
  long cutNames = 0;   // field names cut to 14 characters
};

struct CsvImportPlan {
  CsvDialect dialect;       // its delimiter found from the file when none was given
  CatalogLayout layout;     // one field for each column; the caller may make some key fields
  std::size_t columns = 0;  // cells of the header row
  bool numbered = false;    // the header starts with Number,Status
  EntryNumber rows = 0;     // rows to import, at most kMostEntries
  bool tooMany = false;     // the file holds more rows than that
  CsvChanges changes;
};

// The first pass: reads the whole file as the dialect says and lays out its catalog; a delimiter of 0
// is found from the file (DetectCsvDelimiter), and said when it is no comma. Nothing, after the message that says why,
// when the file cannot be read, is malformed (with its line), is empty, has more than 20 columns
// besides Number and Status, or a row with more cells than the header.
std::optional<CsvImportPlan> PlanCsvImport(Ui& ui, const std::string& path, const CsvDialect& dialect = {});

// The second pass: makes the catalog NAME in `directory` by the plan (the current catalog stays as it
// is), writes the rows as its entries, files their keys, and says what it changed of the text. True
// when the catalog holds every row of the file.
bool ImportCsv(CatalogStore& store, const std::string& path, const CsvImportPlan& plan, const std::string& name,
               const std::string& directory);

}  // namespace vrk
