// Reading a dBase III table into a new catalog: the table's first 20 fields become catalog fields of
// their own names and lengths (numbers wider than 80 characters cut to 80), and every record becomes
// an active entry. The text is converted to code page 1252 from the code page the table's NAME.CPG
// file or, without one, its language-driver byte names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/CatalogStore.h"
#include "dbase/DbfEngine.h"

namespace vrk {

// A table being read.
struct DbfInput {
  int handle = 0;                   // 0 when the table could not be opened
  std::vector<DbfFieldDef> fields;  // a definition the engine would not give stays empty (length 0)
  std::uint32_t recordCount = 0;
  DbfCodePage codePage = DbfCodePage::kUnknown;  // kUnknown: read as code page 1252
  bool complete = true;                          // false when the engine refused a step; its message has been shown
};

// Opens the table and reads its field definitions and code page. A table that cannot be opened has no
// fields and no records.
DbfInput OpenDBF(CatalogStore& store, DbfEngine& engine, const std::string& path);

// The field texts of a record as the catalog keeps them: dates "yyyymmdd" become "mm/dd/yy" with the
// user's date separator, blank dates stay blank, every other field keeps its stored form. Returns the
// engine's code; 146 when a date is no calendar date, which then keeps its stored text while the other
// fields are filled as usual, so that nothing of the record is lost.
int ReadDBFRecord(DbfEngine& engine, const DbfInput& input, std::int64_t recordNumber,
                  std::vector<std::string>& values);

// Makes the catalog NAME in `directory` from the table at `path`; the current catalog stays as it is.
// A record that cannot be read ends the import with its message, and the catalog counts only the
// entries written. True when the catalog was made and holds every record of the table.
bool ImportDBF(CatalogStore& store, DbfEngine& engine, const std::string& path, const std::string& name,
               const std::string& directory);

}  // namespace vrk
