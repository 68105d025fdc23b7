// The key indexes of a catalog: one index file per key field, named from the catalog name and the
// field index, holding the field's text (cut to 24 characters, trailing blanks removed) for every
// entry. Upkeep opens every key index at the start of an operation and closes them at its end.
#pragma once

#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

// Handle value meaning "no index open".
inline constexpr short kNoIndex = -1;

// "MUSICX03.WDX": the name padded with X or cut to six characters, the field index in two digits.
std::string IndexFileName(int field, const std::string& catalogName);
// The key filed for a field: its stored text cut to 24 characters, trailing blanks removed.
std::string KeyText(const EntryRecord& record, int field);
// The key a bulk build files: the stored text cut to 24 characters, blank padding kept.
std::string PaddedKeyText(const EntryRecord& record, const CatalogHeader& header, int field);

// Opens (mode 0) or creates (mode 2) a field's index in the catalog directory; a missing index is
// created empty. Returns the handle, or -1 after "ERROR OPENING INDEX FILE".
short OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode);

struct KeyPair {
  short field;
  short handle;
};
// The key indexes open during one upkeep operation, in field order.
using KeyTable = std::vector<KeyPair>;

void OpenKeyIndexes(CatalogStore& store, KeyTable& keys);
void CloseKeyIndexes(CatalogStore& store, KeyTable& keys);
void AddEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n);
void DeleteEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n);

// Walking an index in key order: each gives the entry number of the key it moved to. FirstInIndex
// gives -1 after "Error Getting Key"; the others give 0 past the end (SeekInIndex: when no key is at or
// after the text).
EntryNumber FirstInIndex(CatalogStore& store, short handle);
EntryNumber NextInIndex(CatalogStore& store, short handle);
EntryNumber PreviousInIndex(CatalogStore& store, short handle);
// Moves to the first key not below the text (trailing blanks ignored).
EntryNumber SeekInIndex(CatalogStore& store, short handle, const std::string& key);

void KillIndexFile(CatalogStore& store, int field, const std::string& catalogName);
void KillKeyIndexes(CatalogStore& store);

}  // namespace vrk
