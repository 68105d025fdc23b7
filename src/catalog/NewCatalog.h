// A catalog made with its entries, as the imports make one: entries 1, 2, … are gathered into large
// writes, put on the disk, and only then does the header count them, so that an import cut short never
// leaves a catalog counting entries that are not there.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "catalog/Layout.h"

namespace vrk {

struct NewCatalog {
  int file = 0;  // the entry file, 0 when the catalog was not made
  std::string entryPath;
  CatalogHeader header;     // of the layout; it counts no entry until FinishNewCatalog
  EntryNumber written = 0;  // entries handed to the entry file so far
  bool refused = false;     // the disk refused an entry (its message shown): no more are written
};

// Makes the catalog NAME in `directory` with the layout (CreateNewCatalog; the current catalog stays as
// it is) and opens its entry file for the entries. `file` stays 0 when nothing was made.
NewCatalog StartNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                           const CatalogLayout& layout);
// Writes the record as the next entry; fields longer than their length are cut, shorter ones padded.
// False, after the File Error box, when the disk refused it.
[[nodiscard]] bool AppendNewEntry(CatalogStore& store, NewCatalog& catalog, const EntryRecord& record);
// Writes what is gathered and puts the entries on the disk, then writes the header that counts the
// entries wholly there and closes the entry file. True when every entry appended is counted.
[[nodiscard]] bool FinishNewCatalog(CatalogStore& store, NewCatalog& catalog);

}  // namespace vrk
