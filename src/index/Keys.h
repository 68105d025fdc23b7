// The key indexes of a catalog: one index file per key field, named from the catalog name and the
// field index, holding the field's text (cut to 24 characters, trailing blanks removed) for every
// entry. Upkeep opens every key index at the start of a change of the entries and closes them at its
// end.
//
// A change of the entries keeps the indexes trustworthy through a crash at any moment: every key
// index is marked on the disk as being changed before the entry file is touched, and marked whole
// again only after the entry file is on the disk, with the count of entries it then follows. A new
// entry needs no mark: its keys reach the index only after the entry and the catalog's new count are
// on the disk, and until the index records the new count it follows fewer entries than the catalog
// has. An index found marked, damaged, following another count of entries, or missing while the
// catalog has entries is in doubt, and is rebuilt before it is used (CheckKeyIndexes).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/CatalogStore.h"
#include "catalog/EntryFile.h"

namespace vrk {

// Handle value meaning "no index open".
inline constexpr short kNoIndex = -1;

// "MUSICX03.WDX": the name padded with X or cut to six characters, the field index in two digits.
std::string IndexFileName(int field, const std::string& catalogName);

// The files beside the index files, in the order the commands handle them: entry, setup, macro and
// memo file, and what a change stopped half way left staged.
inline constexpr std::array<const char*, 7> kCatalogExtensions = {".DAT",         ".SET",       ".MCR",       ".MEM",
                                                                  kStagedEntries, kStagedSetup, kStagedMacros};
// The names (without directory) of every file a catalog of that name has or would have: those of the
// extension list, then the index files of fields 1 to 21.
std::vector<std::string> CatalogFileNames(const std::string& name);
// The key filed for a field: its stored text cut to 24 characters, trailing blanks removed.
std::string KeyText(const EntryRecord& record, int field);
// The key a bulk build files: the stored text cut to 24 characters, blank padding kept.
std::string PaddedKeyText(const EntryRecord& record, const CatalogHeader& header, int field);

// What opening an index found.
enum class IndexOpen {
  kOpened,
  kInDoubt,  // left half-changed, damaged, or missing although the catalog has entries: rebuild it
  kFailed,   // "ERROR OPENING INDEX FILE" has been shown
};
// Opens (mode 0) or creates (mode 2) a field's index in the catalog directory; a missing index of a
// catalog without entries is created empty. `handle` is -1 unless it opened.
IndexOpen OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode, short& handle);
// The handle of an opened index, -1 after "ERROR OPENING INDEX FILE" (an index in doubt included).
short OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode);

// One index of the store's catalog opened for a command, closed on every way out of it. Opened in
// mode 0 it is read through and closed: its close has nothing to write. Created (mode 2) it is being
// built, and one that goes without Close is abandoned, left in doubt to be rebuilt before its next use.
class IndexHandle {
 public:
  // As OpenIndex(store, field, store.catalogName, mode): not open (false) after its message.
  IndexHandle(CatalogStore& store, int field, short mode);
  ~IndexHandle();
  IndexHandle(const IndexHandle&) = delete;
  IndexHandle& operator=(const IndexHandle&) = delete;

  explicit operator bool() const { return handle_ != kNoIndex; }
  short get() const { return handle_; }
  // Ends a build: the index is written out and marked whole (kNdxOk), or left in doubt (Abandon).
  [[nodiscard]] std::int16_t Close();
  void Abandon();

 private:
  CatalogStore& store_;
  short mode_;
  short handle_;
};

struct KeyPair {
  short field;
  short handle;
};
// The key indexes open during one upkeep operation, in field order.
using KeyTable = std::vector<KeyPair>;

// Whether an open index of the store's catalog follows as many entries as the catalog has, or does
// not know what it follows.
bool FollowsEntries(CatalogStore& store, short handle);

// What a change does to the entries the indexes follow.
enum class KeyUpkeep {
  kChange,  // anything: the indexes are marked as being changed
  kAppend,  // only files the keys of entries added after the last (lib::BeginAppend): no mark
};
// Opens every key index and begins the change in each. kInDoubt and kFailed leave nothing open.
[[nodiscard]] IndexOpen OpenKeyIndexes(CatalogStore& store, KeyTable& keys, KeyUpkeep upkeep = KeyUpkeep::kChange);
// Puts the entry file on the disk, then marks the indexes whole and closes them. False, after its
// message, when something could not be written; the indexes are then left in doubt.
[[nodiscard]] bool CloseKeyIndexes(CatalogStore& store, KeyTable& keys);
// Closes the indexes after a change that failed half way, leaving them in doubt.
void AbandonKeyIndexes(CatalogStore& store, KeyTable& keys);
// False, after "Error adding Key to Index", when an index refused a key.
[[nodiscard]] bool AddEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n);
// A key that is not in an index is no failure; an index that cannot be read or written is.
[[nodiscard]] bool DeleteEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n);

// The key upkeep of many changed entries gathered and done together, each index's keys looked up and
// filed in key order (lib::MoveKeys), which costs far less than an entry's upkeep at a time. The
// indexes end as DeleteEntryKeys and AddEntryKeys, called for each entry in turn, would leave them.
// As with those, the indexes are in doubt while anything is gathered: a change that stops before
// Flush abandons them (KeyIndexChange).
class GatheredKeys {
 public:
  GatheredKeys(CatalogStore& store, const KeyTable& keys) : store_(store), keys_(keys) {}
  // DeleteEntryKeys(before, n) and, with `refile`, AddEntryKeys(after, n), gathered; many gathered
  // are done at once. False, after "Error adding Key to Index", when an index refused.
  [[nodiscard]] bool Add(const EntryRecord& before, const EntryRecord& after, EntryNumber n, bool refile);
  // Does what is gathered. False, after "Error adding Key to Index", when an index refused.
  [[nodiscard]] bool Flush();

 private:
  CatalogStore& store_;
  const KeyTable& keys_;
  struct Gathered {
    EntryNumber n;
    bool refile;
  };
  std::vector<Gathered> entries_;
  std::vector<char> texts_;  // per entry and index the key before and after, kKeyRoom bytes each
  EntryNumber last_ = 0;
};

// Walking an index in key order: each gives the entry number of the key it moved to, 0 past the end
// (SeekInIndex: when no key is at or after the text), and -1 after "Error Getting Key": the index
// could not be read, or named an entry the catalog does not have.
EntryNumber FirstInIndex(CatalogStore& store, short handle);
EntryNumber NextInIndex(CatalogStore& store, short handle);
EntryNumber PreviousInIndex(CatalogStore& store, short handle);
// Hands the entry of every key of the index, in key order, to `visit` until it returns false
// (kCancelled), a leaf of the index read at a time: a walk over every key without a call per key.
// kFailed after "Error Getting Key", as FirstInIndex and NextInIndex fail: an index without keys, one
// that cannot be read, or one that names an entry the catalog does not have.
[[nodiscard]] WalkEnd VisitIndex(CatalogStore& store, short handle, const std::function<bool(EntryNumber)>& visit);
// Moves to the first key not below the text (trailing blanks ignored).
EntryNumber SeekInIndex(CatalogStore& store, short handle, const std::string& key);

[[nodiscard]] bool KillIndexFile(CatalogStore& store, int field, const std::string& catalogName);
[[nodiscard]] bool KillKeyIndexes(CatalogStore& store);

}  // namespace vrk
