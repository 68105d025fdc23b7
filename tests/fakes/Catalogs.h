// Catalogs with entries for tests: made through the catalog's own files, read back from disk.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"
#include "index/Rebuild.h"

namespace vrk::test {

struct TestEntry {
  std::vector<std::string> texts;  // fields 1, 2, … in order, padded to their lengths
  float status = kStatusActive;
};

// Makes catalog NAME with the entries and opens it as the store's current catalog.
inline void MakeCurrentCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                               const CatalogLayout& layout, const std::vector<TestEntry>& entries) {
  ASSERT_TRUE(CreateNewCatalog(store, directory, name, layout));
  store.catalogDirectory = directory;
  store.catalogName = name;
  store.entryFile = OpenCatalog(store, directory, name, CatalogAccess::kChange);
  ASSERT_NE(store.entryFile, 0);
  for (const TestEntry& entry : entries) {
    EntryRecord record = BlankEntry(store.header);
    record.Status = entry.status;
    for (std::size_t i = 0; i < entry.texts.size(); ++i) {
      record.Field[i] = entry.texts[i];
      record.Field[i].resize(static_cast<std::size_t>(store.header.FieldLength[i]), ' ');
    }
    store.header.EntryCount += 1;
    ASSERT_TRUE(WriteEntry(store, record, store.header, store.header.Count(), store.entryFile));
  }
  ASSERT_TRUE(WriteHeader(store, store.entryFile, store.header));
}

// Makes catalog NAME with the entries and their key indexes and closes it again, for a program to
// open later (test programs that use it link the index layer).
inline void WriteCatalog(const std::string& directory, const std::string& name, const CatalogLayout& layout,
                         const std::vector<TestEntry>& entries) {
  FakeUi ui;
  CatalogStore store(ui);
  MakeCurrentCatalog(store, directory, name, layout, entries);
  ASSERT_TRUE(ReIndex(store));
  ASSERT_TRUE(CloseCatalog(store, store.entryFile));
}

// A catalog as it is on disk, opened the way the program opens it, with a store of its own.
struct CatalogOnDisk {
  FieldTable fields;
  CatalogHeader header;
  FormulaTable formulas;
  std::vector<EntryRecord> entries;
};

inline CatalogOnDisk ReadCatalog(const std::string& directory, const std::string& name) {
  FakeUi ui;
  CatalogStore store(ui);
  CatalogOnDisk catalog;
  const int file = OpenCatalog(store, directory, name, CatalogAccess::kRead);
  EXPECT_NE(file, 0) << "the program cannot open " << name;
  EXPECT_TRUE(ui.messages.empty());
  for (EntryNumber n = 1; file != 0 && n <= store.header.Count(); ++n) {
    catalog.entries.emplace_back();
    EXPECT_TRUE(ReadEntry(store, catalog.entries.back(), store.header, n, file));
  }
  EXPECT_TRUE(store.files.Close(file));
  catalog.fields = store.fieldTable;
  catalog.header = store.header;
  catalog.formulas = store.formulaTable;
  return catalog;
}

}  // namespace vrk::test
