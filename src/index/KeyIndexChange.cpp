#include "index/KeyIndexChange.h"

#include "index/Rebuild.h"

namespace vrk {

bool KeyIndexChange::Open(KeyUpkeep upkeep) { return OpenKeyIndexesForChange(store_, keys_, upkeep); }

bool KeyIndexChange::Create() { return CreateKeyIndexes(store_, keys_); }

bool KeyIndexChange::Commit() { return CloseKeyIndexes(store_, keys_); }

bool KeyIndexChange::Finish(bool agree) {
  if (agree) return Commit();
  AbandonKeyIndexes(store_, keys_);
  return false;
}

}  // namespace vrk
