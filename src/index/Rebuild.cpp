#include "index/Rebuild.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "index/KeyIndexChange.h"
#include "platform/LongOperation.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

std::string FieldTitle(const CatalogStore& store, int field) {
  return RightTrim(store.fieldTable[static_cast<std::size_t>(field)].Name);
}

bool HasKeyField(const CatalogStore& store) {
  for (const FieldDef& field : store.fieldTable) {
    if (IsKeyField(field)) return true;
  }
  return false;
}

// Ends a single-index build: a build that did not end whole leaves no index behind that looks whole.
bool FinishBuild(CatalogStore& store, int field, IndexHandle& index, WalkEnd end) {
  if (end != WalkEnd::kDone) {
    index.Abandon();
    if (end == WalkEnd::kCancelled) {
      (void)KillIndexFile(store, field, store.catalogName);  // a file left behind is rebuilt before use
      store.ui.Message("Sorting aborted. " + FieldTitle(store, field) + " index has been deleted.");
    }
    return false;
  }
  if (index.Close() == lib::kNdxOk) return true;
  store.ui.Message("Error Closing Index File");
  return false;
}

// Whether an index that opened whole belongs to these entries: it follows their count, has at most a
// key for every entry (a deleted entry's may be missing), and its last and first keys are those of the
// entries they name. An index copied from another catalog fails this.
bool KeysAgree(CatalogStore& store, short handle, int field) {
  std::uint64_t keys = 0;
  if (!FollowsEntries(store, handle) || lib::CountKeys(store.indexes, handle, keys) != lib::kNdxOk ||
      keys > static_cast<std::uint64_t>(store.header.Count())) {
    return false;
  }
  EntryRecord record;
  // A fresh handle steps back to the last key; GetFirst then moves to the first.
  for (const bool last : {true, false}) {
    if (keys == 0) break;
    std::int32_t n = 0;
    if ((last ? lib::GetPrev(store.indexes, handle, n) : lib::GetFirst(store.indexes, handle, n)) != lib::kNdxOk ||
        n < 1 || n > store.header.Count() ||
        !ReadEntry(store, record, store.header, n, store.entryFile, FieldMask{1} << field) ||
        lib::PositionedAtKey(store.indexes, handle, KeyText(record, field)) != lib::kNdxOk) {
      return false;
    }
  }
  return true;
}

// Whether any key index is in doubt, found by opening each, checking its keys against the entries and
// closing it again untouched.
bool AnyInDoubt(CatalogStore& store) {
  for (int field = 0; field < kFieldCount; ++field) {
    if (!IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) continue;
    std::int16_t handle = kNoIndex;
    const std::int16_t result = lib::OpenNDX(
        store.indexes, handle, store.catalogDirectory + "/" + IndexFileName(field, store.catalogName), lib::kNdxOpen);
    const bool agree = result == lib::kNdxOk && KeysAgree(store, handle, field);
    if (result == lib::kNdxOk) static_cast<void>(lib::CloseNDX(store.indexes, handle));  // only read through
    if (result == lib::kNdxOk && !agree) return true;
    if (result == lib::kNdxDamaged || (result == lib::kNdxMissing && store.header.Count() > 0)) return true;
  }
  return false;
}

// Files one field's key of every entry, in entry order, each with its sequence number: entries with
// equal keys come back in that order. A build into an empty index sorts its keys once (spilling runs
// as ReIndex does), so that the order costs no entry read out of entry order.
bool BuildIndex(CatalogStore& store, int field, const std::function<std::int32_t(EntryNumber)>& sequence) {
  IndexHandle index(store, field, lib::kNdxCreate);
  if (!index) return false;
  LongOperation busy(store.ui, {.busy = true});
  const WalkEnd end = WalkEntries(
      store, "Building " + FieldTitle(store, field) + " Index....",
      [&](const EntryRecord& record, EntryNumber n) {
        const std::int32_t place = sequence(n);
        if (place == 0) return true;  // not in the order: not filed
        // The stored text as PaddedKeyText gives it, without a copy: the blanks it would pad a short
        // field with are trailing blanks, which the index drops.
        const std::string_view key =
            std::string_view(record.Field[static_cast<std::size_t>(field)]).substr(0, lib::kMaxKeyLength);
        if (lib::AddKey(store.indexes, index.get(), key, static_cast<std::int32_t>(n), place) == lib::kNdxOk) {
          return true;
        }
        store.ui.Message("Error adding Key to Index");
        return false;
      },
      FieldMask{1} << field);
  busy.End();
  return FinishBuild(store, field, index, end);
}

// Every entry's place (from 1) in the walk of an index, 0 for an entry it does not name: one walk
// over the keys, no entry read.
bool RankInIndex(CatalogStore& store, int field, std::vector<std::int32_t>& rank) {
  const IndexHandle source(store, field, lib::kNdxOpen);
  if (!source) return false;
  rank.assign(static_cast<std::size_t>(std::max<EntryNumber>(store.header.Count(), 0)) + 1, 0);
  std::int32_t place = 0;
  return VisitIndex(store, source.get(), [&](EntryNumber n) {
           rank[static_cast<std::size_t>(n)] = ++place;
           return true;
         }) == WalkEnd::kDone;
}

}  // namespace

bool CreateKeyIndexes(CatalogStore& store, KeyTable& keys) {
  keys.clear();
  for (int field = 0; field < kFieldCount; ++field) {
    if (!IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) continue;
    const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
    if (handle < 0) {
      AbandonKeyIndexes(store, keys);
      return false;
    }
    keys.push_back({static_cast<short>(field), handle});
  }
  return !keys.empty();
}

bool ReIndex(CatalogStore& store) {
  if (!HasKeyField(store)) return true;
  KeyIndexChange change(store);
  if (!change.Create()) return false;
  if (store.header.Count() == 0) return change.Commit();
  const LongOperation busy(store.ui, {.busy = true});
  const WalkEnd end = WalkEntries(store, "Building Indexes....", [&](const EntryRecord& record, EntryNumber n) {
    return AddEntryKeys(store, change.keys(), record, n);
  });
  const bool whole = change.Finish(end == WalkEnd::kDone);
  if (end == WalkEnd::kCancelled) {
    (void)KillKeyIndexes(store);  // a file left behind is rebuilt before use
    store.ui.Message("Indexing aborted. Index files have been deleted.");
  }
  return whole;
}

bool ReIndexCatalog(CatalogStore& store, const std::string& directory, const std::string& name) {
  CatalogStore other(store.ui, store.fileSystem);
  other.programDirectory = store.programDirectory;
  other.catalogDirectory = directory;
  other.catalogName = name;
  other.entryFile = OpenCatalog(other, directory, name, CatalogAccess::kChange);
  if (other.entryFile == 0) return false;
  const bool indexed = ReIndex(other);
  return CloseCatalog(other, other.entryFile) && indexed;
}

bool BuildIndexInFileOrder(CatalogStore& store, int field) {
  return BuildIndex(store, field, [](EntryNumber n) { return static_cast<std::int32_t>(n); });
}

bool BuildIndexInIndexOrder(CatalogStore& store, int field, int sourceField) {
  std::vector<std::int32_t> rank;
  if (!RankInIndex(store, sourceField, rank)) return false;
  return BuildIndex(store, field, [&](EntryNumber n) { return rank[static_cast<std::size_t>(n)]; });
}

bool CheckKeyIndexes(CatalogStore& store) {
  if (!AnyInDoubt(store)) return true;
  if (!store.writable && !MakeChangeable(store)) {
    store.ui.Message("The key indexes of " + store.catalogName + " are incomplete, and " + store.catalogName +
                         " cannot be changed here to rebuild them.",
                     Icon::Exclamation);
    return false;
  }
  store.ui.Message("The key indexes of " + store.catalogName + " were left incomplete; they are rebuilt now.");
  return ReIndex(store);
}

bool OpenKeyIndexesForChange(CatalogStore& store, KeyTable& keys, KeyUpkeep upkeep) {
  switch (OpenKeyIndexes(store, keys, upkeep)) {
    case IndexOpen::kOpened: return true;
    case IndexOpen::kFailed: return false;
    case IndexOpen::kInDoubt: break;
  }
  return CheckKeyIndexes(store) && OpenKeyIndexes(store, keys, upkeep) == IndexOpen::kOpened;
}

}  // namespace vrk
