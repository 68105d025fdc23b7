// A catalog made with its entries, as the imports make one: entries 1, 2, … are gathered into large
// writes, put on the disk, and only then does the header count them. The catalog is made under a
// staged name, kStagedImport + NAME (no catalog name, so nothing lists or opens it), and put in
// place under NAME in one journaled rename only once it is whole (catalog/Journal.h): an import that
// fails, is cut short or finds the disk full leaves nothing behind, and the next one of that name
// removes what a killed one left staged.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "catalog/Layout.h"

namespace vrk {

inline constexpr const char* kStagedImport = "~";

struct NewCatalog {
  int file = 0;  // the entry file, 0 when the catalog was not made
  std::string directory;
  std::string name;         // NAME; the files are written as kStagedImport + NAME until they are placed
  std::string entryPath;    // of the staged entry file
  CatalogHeader header;     // of the layout; it counts no entry until FinishNewCatalog
  EntryNumber written = 0;  // entries handed to the entry file so far
  bool refused = false;     // the disk refused an entry (its message shown): no more are written
};

// Makes the catalog NAME in `directory` with the layout under its staged name (CreateNewCatalog; the
// current catalog stays as it is) and opens its entry file for the entries. `file` stays 0 when
// nothing was made.
NewCatalog StartNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                           const CatalogLayout& layout);
// Writes the record as the next entry; fields longer than their length are cut, shorter ones padded.
// False, after the File Error box, when the disk refused it.
[[nodiscard]] bool AppendNewEntry(CatalogStore& store, NewCatalog& catalog, const EntryRecord& record);
// Writes what is gathered and puts the entries on the disk, then writes the header that counts the
// entries wholly there and closes the entry file. True when every entry appended is counted.
[[nodiscard]] bool FinishNewCatalog(CatalogStore& store, NewCatalog& catalog);
// With `keep`, puts the finished catalog in place under NAME (a setup file left there alone, which the
// user agreed to replace, goes); otherwise, or when that fails, removes what was staged. True when the
// catalog NAME is there.
[[nodiscard]] bool PlaceNewCatalog(CatalogStore& store, const NewCatalog& catalog, bool keep);

}  // namespace vrk
