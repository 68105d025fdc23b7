#include "index/Keys.h"

#include <cstdio>
#include <filesystem>

#include "platform/Paths.h"
#include "platform/Ui.h"
#include "support/Support.h"

namespace vrk {
namespace {

std::string IndexPath(const CatalogStore& store, int field, const std::string& catalogName) {
  return store.catalogDirectory + "/" + IndexFileName(field, catalogName);
}

std::string CutKey(const std::string& text) { return text.substr(0, lib::kMaxKeyLength); }

}  // namespace

std::string IndexFileName(int field, const std::string& catalogName) {
  std::string name = catalogName.substr(0, 6);
  name.resize(6, 'X');
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02d", field);
  return name + digits + ".WDX";
}

std::string KeyText(const EntryRecord& record, int field) {
  return RightTrim(CutKey(record.Field[static_cast<std::size_t>(field)]));
}

std::string PaddedKeyText(const EntryRecord& record, const CatalogHeader& header, int field) {
  std::string text = record.Field[static_cast<std::size_t>(field)];
  text.resize(static_cast<std::size_t>(header.FieldLength[static_cast<std::size_t>(field)]), ' ');
  return CutKey(text);
}

short OpenIndex(CatalogStore& store, int field, const std::string& catalogName, short mode) {
  const std::string path = IndexPath(store, field, catalogName);
  std::int16_t handle = kNoIndex;
  const std::int16_t result = lib::OpenNDX(handle, path, mode);
  if (result == lib::kNdxOk) return handle;
  if (result == lib::kNdxMissing) {
    lib::OpenNDX(handle, path, lib::kNdxCreate);
    return handle;
  }
  store.ui.Message("ERROR OPENING INDEX FILE", Icon::Exclamation);
  return kNoIndex;
}

void OpenKeyIndexes(CatalogStore& store, KeyTable& keys) {
  keys.clear();
  for (int field = 0; field < kFieldCount; ++field) {
    if (IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) {
      keys.push_back({static_cast<short>(field), OpenIndex(store, field, store.catalogName, lib::kNdxOpen)});
    }
  }
}

void CloseKeyIndexes(CatalogStore& store, KeyTable& keys) {
  for (const KeyPair& pair : keys) {
    if (lib::CloseNDX(pair.handle) != lib::kNdxOk) store.ui.Message("Error Closing Index File");
  }
  keys.clear();
}

void AddEntryKeys(CatalogStore& store, const KeyTable& keys, const EntryRecord& record, EntryNumber n) {
  for (const KeyPair& pair : keys) {
    if (lib::AddKey(pair.handle, KeyText(record, pair.field), static_cast<std::int32_t>(n), 0) != lib::kNdxOk) {
      store.ui.Message("Error adding Key to Index");
    }
  }
}

void DeleteEntryKeys(CatalogStore&, const KeyTable& keys, const EntryRecord& record, EntryNumber n) {
  for (const KeyPair& pair : keys) {
    lib::DeleteKey(pair.handle, KeyText(record, pair.field), static_cast<std::int32_t>(n));  // a missing key is fine
  }
}

EntryNumber FirstInIndex(CatalogStore& store, short handle) {
  std::int32_t entry = 0;
  if (lib::GetFirst(handle, entry) != lib::kNdxOk) {
    store.ui.Message("Error Getting Key");
    return -1;
  }
  return entry;
}

EntryNumber NextInIndex(CatalogStore&, short handle) {
  std::int32_t entry = 0;
  return lib::GetNext(handle, entry) == lib::kNdxEnd ? 0 : entry;
}

EntryNumber PreviousInIndex(CatalogStore&, short handle) {
  std::int32_t entry = 0;
  return lib::GetPrev(handle, entry) == lib::kNdxEnd ? 0 : entry;
}

EntryNumber SeekInIndex(CatalogStore&, short handle, const std::string& key) {
  std::int32_t entry = 0;
  return lib::GetKey(handle, RightTrim(key), entry) == lib::kNdxEnd ? 0 : entry;
}

void KillIndexFile(CatalogStore& store, int field, const std::string& catalogName) {
  std::error_code ec;
  std::filesystem::remove(NativePath(IndexPath(store, field, catalogName)), ec);
}

void KillKeyIndexes(CatalogStore& store) {
  for (int field = 0; field < kFieldCount; ++field) {
    if (IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) KillIndexFile(store, field, store.catalogName);
  }
}

}  // namespace vrk
