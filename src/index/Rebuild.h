// Rebuilding key indexes from the entry file: ReIndex for every key field at once, and the two
// single-index builds that a multi-level sort chains together.
#pragma once

#include "catalog/CatalogStore.h"
#include "index/Keys.h"

namespace vrk {

// Creates an empty index for every key field. False when there is none or one could not be created
// (the indexes created so far are closed again).
bool CreateKeyIndexes(CatalogStore& store, KeyTable& keys);

// Refiles every key of every entry, deleted entries included, with the gauge and its Cancel. A
// cancelled rebuild deletes the index files and says so. The caller erases the entry screen first.
void ReIndex(CatalogStore& store);

// Builds one field's index from all entries in entry order, each key with its entry number as
// sequence number, so equal keys stay in entry order.
void BuildIndexInFileOrder(CatalogStore& store, int field);
// Builds one field's index by walking the source field's index, so entries with equal keys keep the
// order they have there.
void BuildIndexInIndexOrder(CatalogStore& store, int field, int sourceField);

}  // namespace vrk
