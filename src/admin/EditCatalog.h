// New catalogs and new layouts for existing ones, as Catalog Maintenance's New and Edit Catalog make
// them.
#pragma once

#include <string>

#include "catalog/Layout.h"

namespace vrk {

// Makes the catalog NAME in `directory` with the layout, default settings, no entries and empty key
// indexes of its own (an index left by an earlier catalog of that name is replaced). The store's own
// catalog and tables stay as they are. False after a message.
bool MakeCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                 const CatalogLayout& layout);

// Gives the catalog that `store` holds open for a change a new layout; the store's tables are the new
// ones after. When a field length changes, "Field lengths were changed. About to rebuild catalog." is
// said and every entry is rebuilt under its number: each field's stored text cut or padded with
// blanks to its new length, status, sorted chain and memo number kept. The settings stay. The old
// files stay whole until the new ones are, and the key indexes are rebuilt when entries or key fields
// changed. False after a message; the catalog is then as it was.
bool ChangeLayout(CatalogStore& store, const CatalogLayout& layout);

}  // namespace vrk
