// Writing a catalog's entries to a CSV file: a header row (Number, Status and the names of the used
// fields), then a row for every entry with its number, "active" or "deleted" and the values vrkcli's
// dump prints (computed fields computed, trailing blanks removed), in UTF-8 without a byte-order mark
// unless the dialect says otherwise.
#pragma once

#include <string>
#include <vector>

#include "catalog/CatalogStore.h"
#include "csv/CsvFormat.h"

namespace vrk {

// Writes every entry of the store's current catalog, with the gauge and its Cancel, into a file beside
// `path` that is put on the disk and then renamed over `path`, so that a failure or a Cancel at any
// step leaves `path` as it was. Characters the dialect's encoding lacks become '?', and a notice counts
// them. Returns the number of entries written, or -1 after the message that says why the file was not
// written.
EntryNumber ExportCsv(CatalogStore& store, const std::string& path, const CsvDialect& dialect = {});
// As ExportCsv, with a row for each of `entries` in their order (the catalog table's rows).
EntryNumber ExportCsvRows(CatalogStore& store, const std::string& path, const std::vector<EntryNumber>& entries,
                          const CsvDialect& dialect = {});

}  // namespace vrk
