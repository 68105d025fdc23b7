#include "index/Keys.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "catalog/Catalog.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

std::string IndexPath(const CatalogStore& store, int field, const std::string& catalogName) {
  return store.catalogDirectory + "/" + IndexFileName(field, catalogName);
}

std::string CutKey(const std::string& text) { return text.substr(0, lib::kMaxKeyLength); }

// KeyText without a copy, for the rebuild of a million entries.
std::string_view KeyView(const EntryRecord& record, int field) {
  std::string_view text = record.Field[static_cast<std::size_t>(field)];
  text = text.substr(0, lib::kMaxKeyLength);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The entry a walk step moved to; -1 after "Error Getting Key" for a failure, or for an entry number
// beyond the catalog that a damaged or foreign index handed back.
EntryNumber Walked(CatalogStore& store, std::int16_t result, std::int32_t entry) {
  if (result == lib::kNdxEnd) return 0;
  if (result != lib::kNdxOk || entry < 1 || entry > store.header.Count()) {
    store.ui.Message("Error Getting Key");
    return -1;
  }
  return entry;
}

// Closes indexes marked for a change that never began. An index that cannot be marked whole again
// stays marked, in doubt, and is rebuilt before its next use.
void CloseAll(CatalogStore& store, KeyTable& keys) {
  for (const KeyPair& pair : keys) static_cast<void>(lib::CloseNDX(store.indexes, pair.handle));
  keys.clear();
}

}  // namespace

std::string IndexFileName(int field, const std::string& catalogName) {
  std::string name = catalogName.substr(0, 6);
  name.resize(6, 'X');
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02d", field);
  return name + digits + ".WDX";
}

std::vector<std::string> CatalogFileNames(const std::string& name) {
  std::vector<std::string> names;
  for (const char* extension : kCatalogExtensions) names.push_back(name + extension);
  for (int field = 0; field < kFieldCount; ++field) names.push_back(IndexFileName(field, name));
  return names;
}

std::string KeyText(const EntryRecord& record, int field) { return std::string(KeyView(record, field)); }

std::string PaddedKeyText(const EntryRecord& record, const CatalogHeader& header, int field) {
  std::string text = record.Field[static_cast<std::size_t>(field)];
  text.resize(static_cast<std::size_t>(header.FieldLength[static_cast<std::size_t>(field)]), ' ');
  return CutKey(text);
}

IndexOpen OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode, short& handle) {
  const std::string path = IndexPath(store, field, catalogName);
  handle = kNoIndex;
  std::int16_t opened = kNoIndex;
  std::int16_t result = lib::OpenNDX(store.indexes, opened, path, mode);
  // A missing index of a catalog without entries lacks nothing: it is made, empty. Of a catalog with
  // entries it would lack every key, and is rebuilt instead.
  if (result == lib::kNdxMissing && store.header.Count() == 0) {
    result = lib::OpenNDX(store.indexes, opened, path, lib::kNdxCreate);
    if (result == lib::kNdxOk && (result = lib::CloseNDX(store.indexes, opened)) == lib::kNdxOk) {
      result = lib::OpenNDX(store.indexes, opened, path, mode);
    }
  }
  if (result == lib::kNdxOk) {
    // A reader beside programs that add entries: the index may name entries added since the catalog
    // was opened, which the count read now includes.
    if (catalogName == store.catalogName) {
      RefreshEntryCount(store);
      if (!FollowsEntries(store, opened)) {
        static_cast<void>(lib::CloseNDX(store.indexes, opened));  // only read
        return IndexOpen::kInDoubt;
      }
    }
    handle = opened;
    return IndexOpen::kOpened;
  }
  if (result == lib::kNdxMissing || result == lib::kNdxDamaged) return IndexOpen::kInDoubt;
  store.ui.Message("ERROR OPENING INDEX FILE", Icon::Exclamation);
  return IndexOpen::kFailed;
}

IndexHandle::IndexHandle(CatalogStore& store, int field, short mode)
    : store_(store), mode_(mode), handle_(OpenIndex(store, field, store.catalogName, mode)) {}

IndexHandle::~IndexHandle() {
  if (handle_ == kNoIndex) return;
  if (mode_ == lib::kNdxCreate) {
    Abandon();
  } else {
    static_cast<void>(lib::CloseNDX(store_.indexes, handle_));  // only read through: nothing to write
  }
}

std::int16_t IndexHandle::Close() { return lib::CloseNDX(store_.indexes, std::exchange(handle_, kNoIndex)); }

void IndexHandle::Abandon() {
  // Abandoning refuses only a handle that is not open; the index stays marked either way.
  static_cast<void>(lib::AbandonNDX(store_.indexes, std::exchange(handle_, kNoIndex)));
}

short OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode) {
  short handle = kNoIndex;
  if (OpenIndex(store, field, catalogName, mode, handle) == IndexOpen::kInDoubt) {
    store.ui.Message("ERROR OPENING INDEX FILE", Icon::Exclamation);
  }
  return handle;
}

bool FollowsEntries(CatalogStore& store, short handle) {
  std::optional<std::uint64_t> covers;
  return lib::Covers(store.indexes, handle, covers) == lib::kNdxOk &&
         (!covers || *covers == static_cast<std::uint64_t>(store.header.Count()));
}

IndexOpen OpenKeyIndexes(CatalogStore& store, KeyTable& keys, KeyUpkeep upkeep) {
  keys.clear();
  const auto begin = upkeep == KeyUpkeep::kAppend ? lib::BeginAppend : lib::BeginChanges;
  for (int field = 0; field < kFieldCount; ++field) {
    if (!IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) continue;
    short handle = kNoIndex;
    const IndexOpen opened = OpenIndex(store, field, store.catalogName, lib::kNdxOpen, handle);
    if (opened == IndexOpen::kOpened && begin(store.indexes, handle) == lib::kNdxOk) {
      keys.push_back({static_cast<short>(field), handle});
      continue;
    }
    if (opened == IndexOpen::kOpened) {
      static_cast<void>(lib::CloseNDX(store.indexes, handle));  // not marked: nothing was written through it
      store.ui.Message("ERROR OPENING INDEX FILE", Icon::Exclamation);
    }
    // No change may start that an index could not follow.
    CloseAll(store, keys);
    return opened == IndexOpen::kInDoubt ? IndexOpen::kInDoubt : IndexOpen::kFailed;
  }
  return IndexOpen::kOpened;
}

bool CloseKeyIndexes(CatalogStore& store, KeyTable& keys) {
  // The entries first: an index must never be marked whole while the change it follows may be lost.
  BufferedFile* entries = store.files.Get(store.entryFile);
  if (entries != nullptr && entries->writable() && !entries->Sync()) {
    ReportFileError(store.ui, FileFailureFromErrno(entries->error(), store.BasePath() + ".DAT"));
    AbandonKeyIndexes(store, keys);
    return false;
  }
  bool closed = true;
  const auto count = static_cast<std::uint64_t>(store.header.Count());
  for (const KeyPair& pair : keys) {
    const bool counted = lib::SetCovers(store.indexes, pair.handle, count) == lib::kNdxOk;
    if (lib::CloseNDX(store.indexes, pair.handle) != lib::kNdxOk || !counted) {
      store.ui.Message("Error Closing Index File");
      closed = false;
    }
  }
  keys.clear();
  return closed;
}

void AbandonKeyIndexes(CatalogStore& store, KeyTable& keys) {
  // Abandoning refuses only a handle that is not open; the index stays marked either way.
  for (const KeyPair& pair : keys) static_cast<void>(lib::AbandonNDX(store.indexes, pair.handle));
  keys.clear();
}

bool AddEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n) {
  bool added = true;
  for (const KeyPair& pair : keys) {
    if (lib::AddKey(store.indexes, pair.handle, KeyView(record, pair.field), static_cast<std::int32_t>(n), 0) !=
        lib::kNdxOk) {
      store.ui.Message("Error adding Key to Index");
      added = false;
    }
  }
  return added;
}

bool DeleteEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n) {
  bool deleted = true;
  for (const KeyPair& pair : keys) {
    const std::int16_t result =
        lib::DeleteKey(store.indexes, pair.handle, KeyView(record, pair.field), static_cast<std::int32_t>(n));
    deleted = deleted && (result == lib::kNdxOk || result == lib::kNdxEnd);  // a missing key is fine
  }
  return deleted;
}

namespace {

// A key's length in its first byte, its text after.
constexpr std::size_t kKeyRoom = 1 + lib::kMaxKeyLength;
// Entries gathered before they are done: a few MB, and few enough visits of each index's pages.
constexpr std::size_t kMostGathered = std::size_t{1} << 16;

void PutKey(char* room, std::string_view key) {
  room[0] = static_cast<char>(key.size());
  key.copy(room + 1, key.size());
}

std::string_view KeyIn(const char* room) { return {room + 1, static_cast<unsigned char>(room[0])}; }

}  // namespace

bool GatheredKeys::Add(const EntryRecord& before, const EntryRecord& after, EntryNumber n, bool refile) {
  // The moves of one entry must be done in turn: an entry met again is done after what is gathered.
  if (n <= last_ && !Flush()) return false;
  last_ = n;
  const std::size_t at = texts_.size();
  texts_.resize(at + keys_.size() * 2 * kKeyRoom);
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    char* room = texts_.data() + at + k * 2 * kKeyRoom;
    PutKey(room, KeyView(before, keys_[k].field));
    PutKey(room + kKeyRoom, KeyView(after, keys_[k].field));
  }
  entries_.push_back({n, refile});
  return entries_.size() < kMostGathered || Flush();
}

bool GatheredKeys::Flush() {
  bool moved = true;
  std::vector<lib::KeyMove> moves;
  for (std::size_t k = 0; k < keys_.size() && !entries_.empty(); ++k) {
    moves.clear();
    moves.reserve(entries_.size());
    for (std::size_t e = 0; e < entries_.size(); ++e) {
      const char* room = texts_.data() + (e * keys_.size() + k) * 2 * kKeyRoom;
      moves.push_back(
          {KeyIn(room), KeyIn(room + kKeyRoom), static_cast<std::int32_t>(entries_[e].n), entries_[e].refile});
    }
    if (lib::MoveKeys(store_.indexes, keys_[k].handle, moves) != lib::kNdxOk) {
      store_.ui.Message("Error adding Key to Index");
      moved = false;
      break;
    }
  }
  entries_.clear();
  texts_.clear();
  last_ = 0;
  return moved;
}

EntryNumber FirstInIndex(CatalogStore& store, short handle) {
  std::int32_t entry = 0;
  const std::int16_t result = lib::GetFirst(store.indexes, handle, entry);
  // An empty index has no first key: that, too, is "Error Getting Key".
  return Walked(store, result == lib::kNdxEnd ? lib::kNdxFailed : result, entry);
}

EntryNumber NextInIndex(CatalogStore& store, short handle) {
  std::int32_t entry = 0;
  const std::int16_t result = lib::GetNext(store.indexes, handle, entry);
  return Walked(store, result, entry);
}

EntryNumber PreviousInIndex(CatalogStore& store, short handle) {
  std::int32_t entry = 0;
  const std::int16_t result = lib::GetPrev(store.indexes, handle, entry);
  return Walked(store, result, entry);
}

WalkEnd VisitIndex(CatalogStore& store, short handle, const std::function<bool(EntryNumber)>& visit) {
  const EntryNumber count = store.header.Count();
  bool any = false, named = true;
  const std::int16_t result = lib::VisitEntries(store.indexes, handle, [&](std::int32_t entry) {
    any = true;
    if (entry < 1 || entry > count) return named = false;
    return visit(entry);
  });
  if ((result == lib::kNdxOk && any) || (result == lib::kNdxEnd && named)) {
    return result == lib::kNdxOk ? WalkEnd::kDone : WalkEnd::kCancelled;
  }
  store.ui.Message("Error Getting Key");
  return WalkEnd::kFailed;
}

EntryNumber SeekInIndex(CatalogStore& store, short handle, const std::string& key) {
  std::int32_t entry = 0;
  const std::int16_t result = lib::GetKey(store.indexes, handle, RightTrim(key), entry);
  return Walked(store, result, entry);
}

bool KillIndexFile(CatalogStore& store, int field, const std::string& catalogName) {
  const int error = sys::RemoveFile(store.fileSystem, NativePath(IndexPath(store, field, catalogName)));
  return error == 0 || error == ENOENT;
}

bool KillKeyIndexes(CatalogStore& store) {
  bool killed = true;
  for (int field = 0; field < kFieldCount; ++field) {
    if (IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) {
      killed = KillIndexFile(store, field, store.catalogName) && killed;
    }
  }
  return killed;
}

}  // namespace vrk
