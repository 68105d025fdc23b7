// Walking a list of entries in the list's order (the catalog table's rows), as WalkEntries walks the
// whole catalog.
#pragma once

#include <functional>
#include <vector>

#include "catalog/EntryFile.h"

namespace vrk {

// Reads each of `entries` in turn and hands it to `visit`, which returns false to stop, with the gauge
// showing `message` and its Cancel enabled.
[[nodiscard]] WalkEnd WalkListedEntries(CatalogStore& store, const std::string& message,
                                        const std::vector<EntryNumber>& entries,
                                        const std::function<bool(const EntryRecord&, EntryNumber)>& visit);

}  // namespace vrk
