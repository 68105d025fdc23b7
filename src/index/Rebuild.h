// Rebuilding key indexes from the entry file: ReIndex for every key field at once, the two
// single-index builds that a multi-level sort chains together, and the rebuild of indexes in doubt.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "index/Keys.h"

namespace vrk {

// Creates an empty index for every key field. False when there is none or one could not be created
// (the indexes created so far are closed again).
[[nodiscard]] bool CreateKeyIndexes(CatalogStore& store, KeyTable& keys);

// Refiles every key of every entry, deleted entries included, with the gauge and its Cancel. A
// cancelled rebuild deletes the index files and says so. The caller erases the entry screen first.
// True when every key index is whole (a catalog without key fields has nothing to rebuild).
[[nodiscard]] bool ReIndex(CatalogStore& store);

// ReIndex for the catalog NAME in `directory`, opened for a change in a store of its own: the store's
// current catalog stays as it is. True when every key index of NAME is whole.
[[nodiscard]] bool ReIndexCatalog(CatalogStore& store, const std::string& directory, const std::string& name);

// Builds one field's index from all entries in entry order, each key with its entry number as
// sequence number, so equal keys stay in entry order. True when the index was built whole.
[[nodiscard]] bool BuildIndexInFileOrder(CatalogStore& store, int field);
// Builds one field's index so that entries with equal keys keep the order the source field's index
// has them in: a walk over the source's keys ranks the entries, then one pass in entry order files
// each key with its rank as sequence number. True when the index was built whole.
[[nodiscard]] bool BuildIndexInIndexOrder(CatalogStore& store, int field, int sourceField);

// Rebuilds the key indexes, after a one-line notice, when any of them is in doubt. False when one is
// in doubt and was not rebuilt: the catalog may not be changed here, or the rebuild failed or was
// cancelled.
[[nodiscard]] bool CheckKeyIndexes(CatalogStore& store);
// Opens every key index for a change of the entries (OpenKeyIndexes), rebuilding indexes in doubt
// first. False, after its message, when they cannot be used: then nothing of the change may be made.
[[nodiscard]] bool OpenKeyIndexesForChange(CatalogStore& store, KeyTable& keys, KeyUpkeep upkeep = KeyUpkeep::kChange);

}  // namespace vrk
