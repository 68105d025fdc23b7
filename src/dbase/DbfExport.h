// Writing catalog entries to a dBase III table: one character field for every used catalog field, in
// field order, and one record for every entry written. Every step shows what the engine refused and
// the run decides whether to go on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/CatalogStore.h"
#include "dbase/DbfEngine.h"

namespace vrk {

// A table being written.
struct DbfOutput {
  int handle = 0;
  std::vector<int> fields;  // the catalog field index of each table field
  EntryNumber written = 0;  // records appended so far
};

// The table field name of a catalog field name: trailing blanks removed, the first 10 characters,
// letters in capitals, every character other than A-Z and 0-9 made "_".
std::string DBFFieldName(std::string_view catalogName);

// Asks for the table's name; the table goes to the program directory as NAME.DBF. Empty when the user
// cancels or will not overwrite an existing table.
std::string GetDBFName(CatalogStore& store);

// Creates the table for the current catalog's layout and sets the totals to 0 for the run. False,
// after showing why, when no table could be made.
bool CreateDBF(CatalogStore& store, DbfEngine& engine, const std::string& path, DbfOutput& output);
// Appends the entry's field values (computed values for computed fields) and adds its sum fields to
// the totals. False, after showing why, when the record was not written.
bool AppendDBFRecord(CatalogStore& store, DbfEngine& engine, const EntryRecord& entry, DbfOutput& output);
// Closes an export or import table. False, after showing why, when its header could not be written.
bool CloseDBF(CatalogStore& store, DbfEngine& engine, int handle);
// Writes the code page file beside a table that is whole (DbfCodePageFile), "1252", which readers take
// besides the header's language-driver byte. False, after showing why, when it could not be written.
bool WriteDBFCodePage(CatalogStore& store, const std::string& tablePath);

// Writes entries first to last of the current catalog in entry order, deleted ones included, as one
// table. Returns the count of records written, or -1 when the table could not be made or closed.
EntryNumber ExportEntries(CatalogStore& store, DbfEngine& engine, const std::string& path, EntryNumber first,
                          EntryNumber last);
// The text that ends an export run; the path as the user sees it (PathText).
std::string ExportCompletionText(EntryNumber count, const std::string& pathText);

}  // namespace vrk
