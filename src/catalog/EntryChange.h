// One entry's change as Undo and Redo keep it: the whole slot before and after (status, every field
// with field 21's media paths, the memo number and the sorted links) and, when the change touched
// the memo, the memo's text. The operations that change many entries collect these for the history.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalog/CatalogTypes.h"

namespace vrk {

struct EntryImage {
  EntryRecord record;
  std::optional<std::string> memo = std::nullopt;  // the memo's text, when the change touched it
};

struct EntryChange {
  EntryNumber number = 0;
  EntryImage before;
  EntryImage after;
};
using EntryChanges = std::vector<EntryChange>;

// The change that made entry n: undone, the entry is deleted again.
inline EntryChange NewEntryChange(EntryNumber n, const EntryRecord& after) {
  EntryChange change{.number = n, .before = {.record = after}, .after = {.record = after}};
  change.before.record.Status = kStatusDeleted;
  return change;
}

}  // namespace vrk
