// Eliminate Deleted: the entries marked deleted removed for good, the kept ones moved down in their
// order so that an entry's new number is its old one less the deleted entries before it.
#pragma once

#include "catalog/CatalogStore.h"

namespace vrk {

class Ui;

// "This operation will PERMANENTLY erase all", a carriage return, "records marked as deleted.
// Proceed?"; true for Yes. With `undoCleared` (there are changes Undo would take back) it says before
// "Proceed?" that the Undo history is cleared.
bool ConfirmEliminateDeleted(Ui& ui, bool undoCleared = false);

// Removes the deleted entries of the store's catalog (held for a change) in one pass, with the gauge
// "Purging deleted entries...." that cannot be cancelled. The kept entries go into a new entry file,
// stored as they were, which replaces the old one once it is whole, so that a stop or a full disk at
// any moment loses and duplicates nothing. When entries moved, the catalog is marked unsorted (its
// chain named the old numbers) and its key indexes are rebuilt. Returns the number of entries
// eliminated, or -1 after a message (the catalog is then as it was).
EntryNumber EliminateDeleted(CatalogStore& store);

}  // namespace vrk
