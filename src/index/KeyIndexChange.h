// A change of the entries that the key indexes follow, as one object: the indexes are opened and
// marked as being changed, and a change that ends without being committed leaves them in doubt
// (marked on the disk), to be rebuilt before their next use, on every way out of it.
#pragma once

#include "catalog/CatalogStore.h"
#include "index/Keys.h"

namespace vrk {

class KeyIndexChange {
 public:
  explicit KeyIndexChange(CatalogStore& store) : store_(store) {}
  ~KeyIndexChange() { AbandonKeyIndexes(store_, keys_); }
  KeyIndexChange(const KeyIndexChange&) = delete;
  KeyIndexChange& operator=(const KeyIndexChange&) = delete;

  // Opens every key index for the change (OpenKeyIndexesForChange). False, after its message, when
  // they cannot be used: then nothing of the change may be made.
  [[nodiscard]] bool Open(KeyUpkeep upkeep = KeyUpkeep::kChange);
  // Creates an empty index for every key field, for a rebuild (CreateKeyIndexes).
  [[nodiscard]] bool Create();
  const KeyTable& keys() const { return keys_; }
  // The entry file on the disk, then the indexes marked whole and closed (CloseKeyIndexes). False,
  // after its message, when something could not be written: the indexes are then in doubt.
  [[nodiscard]] bool Commit();
  // Commits a change whose entry file is known to agree with the keys filed; any other is abandoned
  // at once, its indexes left in doubt. True when the indexes are whole.
  [[nodiscard]] bool Finish(bool agree);

 private:
  CatalogStore& store_;
  KeyTable keys_;
};

}  // namespace vrk
