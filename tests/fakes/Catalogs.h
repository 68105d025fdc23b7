// Writing whole catalogs for tests: a layout and the texts of its entries, field by field.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"

namespace vrk::test {

using EntryTexts = std::vector<std::string>;  // field 1, field 2 …

inline void WriteCatalog(const std::string& directory, const std::string& name, const CatalogLayout& layout,
                         const std::vector<EntryTexts>& entries) {
  FakeUi ui;
  CatalogStore store{ui};
  ASSERT_TRUE(CreateNewCatalog(store, directory, name, layout));
  const int file = OpenCatalog(store, directory, name);
  ASSERT_NE(file, 0);
  EntryNumber n = 0;
  for (const EntryTexts& texts : entries) {
    EntryRecord record = BlankEntry(store.header);
    for (std::size_t i = 0; i < texts.size(); ++i) record.Field[i] = texts[i];
    record.Status = kStatusActive;
    ASSERT_TRUE(WriteEntry(store, record, store.header, ++n, file));
  }
  store.header.EntryCount = static_cast<float>(n);
  CloseCatalog(store, file);
}

// Entry n of a catalog as its files hold it, with the entry count, read afresh.
struct StoredCatalog {
  StoredCatalog(const std::string& directory, const std::string& name) {
    file = OpenCatalog(store, directory, name);
  }
  ~StoredCatalog() {
    if (file != 0) store.files.Close(file);
  }
  EntryRecord Entry(EntryNumber n) {
    EntryRecord record;
    ReadEntry(store, record, store.header, n, file);
    return record;
  }
  EntryNumber Count() const { return store.header.Count(); }

  FakeUi ui;
  CatalogStore store{ui};
  int file = 0;
};

}  // namespace vrk::test
