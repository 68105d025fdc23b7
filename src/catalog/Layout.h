// A catalog's layout as the setup editor hands it over: field names and types, lengths and formulas.
#pragma once

#include <array>
#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

inline constexpr short kLongestEditedField = 80;

struct CatalogLayout {
  FieldTable fields = DefaultFieldTable();
  std::array<short, kFieldCount> lengths{};
  FormulaTable formulas{};
};

// The layout of the store's current catalog.
CatalogLayout LayoutOf(const CatalogStore& store);

// The setup editor's message for a layout it would not accept, or "" when the layout is fine.
std::string LayoutError(const CatalogLayout& layout);

// Makes a new catalog with default settings, as New in catalog maintenance does. A rename or removal
// of that name left half done is finished first (catalog/Journal.h); a file of that name already there
// is replaced only when the user agrees; files an earlier catalog of that name left staged go. With
// `filesName`, the files are written under that name instead (an import's staged name, whose files a
// killed import left are removed first). The formula table of the current catalog is in force again
// afterwards. False when nothing was made or a file could not be written.
bool CreateNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                      const CatalogLayout& layout, const std::string& filesName = {});

}  // namespace vrk
