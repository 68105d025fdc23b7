#include "index/Rebuild.h"

#include <algorithm>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "platform/Ui.h"
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
bool FinishBuild(CatalogStore& store, int field, short handle, WalkEnd end) {
  if (end != WalkEnd::kDone) {
    lib::AbandonNDX(store.indexes, handle);
    if (end == WalkEnd::kCancelled) {
      (void)KillIndexFile(store, field, store.catalogName);  // a file left behind is rebuilt before use
      store.ui.Message("Sorting aborted. " + FieldTitle(store, field) + " index has been deleted.");
    }
    return false;
  }
  if (lib::CloseNDX(store.indexes, handle) == lib::kNdxOk) return true;
  store.ui.Message("Error Closing Index File");
  return false;
}

// Whether an index that opened whole belongs to these entries: at most a key for every entry (a deleted
// entry's may be missing), and its last and first keys those of the entries they name. An index copied
// from another catalog fails this.
bool KeysAgree(CatalogStore& store, short handle, int field) {
  std::uint64_t keys = 0;
  if (lib::CountKeys(store.indexes, handle, keys) != lib::kNdxOk ||
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
    if (result == lib::kNdxOk) lib::CloseNDX(store.indexes, handle);
    if (result == lib::kNdxOk && !agree) return true;
    if (result == lib::kNdxDamaged || (result == lib::kNdxMissing && store.header.Count() > 0)) return true;
  }
  return false;
}

// The bulk-build key of one field for every entry, read once in entry order while they take at most
// kHeldKeyBytes together: an index-order build then reads no entry out of order, which costs a system
// call each. Larger catalogs have each entry read where the walk finds it.
class KeysInEntryOrder {
 public:
  KeysInEntryOrder(CatalogStore& store, int field)
      : store_(store),
        field_(field),
        width_(std::min<std::size_t>(
            static_cast<std::size_t>(store.header.FieldLength[static_cast<std::size_t>(field)]), lib::kMaxKeyLength)) {}

  bool Read() {
    const auto count = static_cast<std::size_t>(std::max<EntryNumber>(store_.header.Count(), 0));
    if (count * width_ > kHeldKeyBytes) return true;
    keys_.resize(count * width_);
    EntryReader reader(store_, FieldMask{1} << field_);
    for (std::size_t i = 0; i < count; ++i) {
      if (!reader.Read(static_cast<EntryNumber>(i) + 1, record_)) return false;
      PaddedKeyText(record_, store_.header, field_).copy(keys_.data() + i * width_, width_);
    }
    held_ = true;
    return true;
  }

  bool Of(EntryNumber n, std::string_view& key) {
    if (held_) {
      key = std::string_view(keys_.data() + static_cast<std::size_t>(n - 1) * width_, width_);
      return true;
    }
    if (!ReadEntry(store_, record_, store_.header, n, store_.entryFile, FieldMask{1} << field_)) return false;
    text_ = PaddedKeyText(record_, store_.header, field_);
    key = text_;
    return true;
  }

 private:
  static constexpr std::size_t kHeldKeyBytes = 64u << 20;

  CatalogStore& store_;
  int field_;
  std::size_t width_;
  std::vector<char> keys_;
  bool held_ = false;
  EntryRecord record_;
  std::string text_;
};

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
  KeyTable keys;
  if (!CreateKeyIndexes(store, keys)) return false;
  if (store.header.Count() == 0) return CloseKeyIndexes(store, keys);
  store.ui.ShowBusy();
  const WalkEnd end = WalkEntries(store, "Building Indexes....", [&](const EntryRecord& record, EntryNumber n) {
    return AddEntryKeys(store, keys, record, n);
  });
  bool whole = false;
  if (end == WalkEnd::kDone) {
    whole = CloseKeyIndexes(store, keys);
  } else {
    AbandonKeyIndexes(store, keys);
  }
  if (end == WalkEnd::kCancelled) {
    (void)KillKeyIndexes(store);  // a file left behind is rebuilt before use
    store.ui.Message("Indexing aborted. Index files have been deleted.");
  }
  store.ui.ClearBusy();
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
  const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
  if (handle < 0) return false;
  store.ui.ShowBusy();
  const WalkEnd end = WalkEntries(
      store, "Building " + FieldTitle(store, field) + " Index....",
      [&](const EntryRecord& record, EntryNumber n) {
        const auto number = static_cast<std::int32_t>(n);
        if (lib::AddKey(store.indexes, handle, PaddedKeyText(record, store.header, field), number, number) ==
            lib::kNdxOk) {
          return true;
        }
        store.ui.Message("Error adding Key to Index");
        return false;
      },
      FieldMask{1} << field);
  store.ui.ClearBusy();
  return FinishBuild(store, field, handle, end);
}

bool BuildIndexInIndexOrder(CatalogStore& store, int field, int sourceField) {
  const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
  if (handle < 0) return false;
  const short source = OpenIndex(store, sourceField, store.catalogName, lib::kNdxOpen);
  EntryNumber n = source < 0 ? -1 : FirstInIndex(store, source);
  KeysInEntryOrder keys(store, field);
  store.ui.OpenGauge(static_cast<double>(store.header.Count()), "Building " + FieldTitle(store, field) + " Index....",
                     true);
  WalkEnd end = n < 0 || !keys.Read() ? WalkEnd::kFailed : WalkEnd::kDone;
  for (std::int32_t sequence = 1; n > 0 && end == WalkEnd::kDone; ++sequence) {
    std::string_view key;
    if (store.ui.StepGauge()) {
      end = WalkEnd::kCancelled;
    } else if (!keys.Of(n, key)) {
      end = WalkEnd::kFailed;
    } else if (lib::AddKey(store.indexes, handle, key, static_cast<std::int32_t>(n), sequence) != lib::kNdxOk) {
      store.ui.Message("Error adding Key to Index");
      end = WalkEnd::kFailed;
    } else if ((n = NextInIndex(store, source)) < 0) {
      end = WalkEnd::kFailed;
    }
  }
  if (source >= 0) lib::CloseNDX(store.indexes, source);
  store.ui.CloseGauge();
  return FinishBuild(store, field, handle, end);
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

bool OpenKeyIndexesForChange(CatalogStore& store, KeyTable& keys) {
  switch (OpenKeyIndexes(store, keys)) {
    case IndexOpen::kOpened: return true;
    case IndexOpen::kFailed: return false;
    case IndexOpen::kInDoubt: break;
  }
  return CheckKeyIndexes(store) && OpenKeyIndexes(store, keys) == IndexOpen::kOpened;
}

}  // namespace vrk
