// Writing a catalog's entries to a spreadsheet workbook (.xlsx): one sheet with a bold, frozen header
// row (Number, Status and the names of the used fields) and a row for every entry with the values
// vrkcli's dump prints. A field whose every value reads as a number is written as numbers, and so is
// every number of a sum or computed field; every other value as text. The columns are as wide as the
// fields.
#pragma once

#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

// Writes every entry of the store's current catalog, with the gauge and its Cancel, into a workbook
// beside `path` that is put on the disk and then renamed over `path`, so that a failure or a Cancel at
// any step leaves `path` as it was. Returns the number of entries written, or -1 after the message that
// says why the workbook was not written.
EntryNumber ExportXlsx(CatalogStore& store, const std::string& path);
// As ExportXlsx, with a row for each of `entries` in their order (the catalog table's rows).
EntryNumber ExportXlsxRows(CatalogStore& store, const std::string& path, const std::vector<EntryNumber>& entries);

}  // namespace vrk
