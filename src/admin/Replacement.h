// A change that replaces a catalog's entry file or setup file whole, as the catalog layer stages it
// (catalog/Catalog.h): the new files are written beside the old ones, put on the disk, and only then
// moved over them, so that a stop or a refused write at any moment leaves the catalog whole, as it was
// or as it is after the change.
#pragma once

#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"
#include "catalog/CatalogTypes.h"

namespace vrk {

class Replacement {
 public:
  // `store` holds the catalog for a change (its lock taken).
  explicit Replacement(CatalogStore& store);
  // A change that did not take effect leaves nothing staged behind.
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Makes the staged entry file, empty, and locks it. Comes first: a staged setup file without it
  // would count as a change that took effect.
  [[nodiscard]] bool Begin();
  // The staged entry file's number, for writing the new header and entries into.
  int entries() const { return entries_; }
  // Writes the new setup file whole and puts it on the disk.
  [[nodiscard]] bool StageSetup(std::string_view bytes);
  // Puts the new entries on the disk and makes the change take effect: the staged entry file takes the
  // entry file's place (`newEntries`) or, when only the setup file changes, is removed; then the
  // staged setup file takes its place. With new entries the store's entry file is the new one after.
  [[nodiscard]] bool Commit(bool newEntries);
  // Whether the change took effect (also when Commit failed after that moment).
  bool committed() const { return committed_; }

 private:
  bool Failed(int error, const std::string& path);

  CatalogStore& store_;
  std::string base_;
  std::string directory_;
  int entries_ = 0;
  bool setupStaged_ = false;
  bool committed_ = false;
};

// Removes the index files of the key fields of `fields` (and of the store's catalog) before its entries
// or keys are replaced: an index left from before would name the old entries, while a missing one is
// rebuilt before it is used. False after a message.
[[nodiscard]] bool RemoveKeyIndexes(CatalogStore& store, const FieldTable& fields);

}  // namespace vrk
