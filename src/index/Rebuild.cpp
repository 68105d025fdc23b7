#include "index/Rebuild.h"

#include "catalog/EntryFile.h"
#include "platform/Ui.h"
#include "support/Support.h"

namespace vrk {
namespace {

std::string FieldTitle(const CatalogStore& store, int field) {
  return RightTrim(store.fieldTable[static_cast<std::size_t>(field)].Name);
}

// Ends a single-index build: a cancelled build leaves no half-built index behind.
void FinishBuild(CatalogStore& store, int field, short handle, bool cancelled) {
  lib::CloseNDX(handle);
  if (cancelled) {
    KillIndexFile(store, field, store.catalogName);
    store.ui.Message("Sorting aborted. " + FieldTitle(store, field) + " index has been deleted.");
  }
}

}  // namespace

bool CreateKeyIndexes(CatalogStore& store, KeyTable& keys) {
  keys.clear();
  for (int field = 0; field < kFieldCount; ++field) {
    if (!IsKeyField(store.fieldTable[static_cast<std::size_t>(field)])) continue;
    const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
    if (handle < 0) {
      CloseKeyIndexes(store, keys);
      return false;
    }
    keys.push_back({static_cast<short>(field), handle});
  }
  return !keys.empty();
}

void ReIndex(CatalogStore& store) {
  KeyTable keys;
  if (!CreateKeyIndexes(store, keys)) return;
  if (store.header.Count() == 0) {
    CloseKeyIndexes(store, keys);
    return;
  }
  store.ui.ShowBusy();
  const bool complete = WalkEntries(store, "Building Indexes....", [&](const EntryRecord& record, EntryNumber n) {
    AddEntryKeys(store, keys, record, n);
  });
  CloseKeyIndexes(store, keys);
  if (!complete) {
    KillKeyIndexes(store);
    store.ui.Message("Indexing aborted. Index files have been deleted.");
  }
  store.ui.ClearBusy();
}

void BuildIndexInFileOrder(CatalogStore& store, int field) {
  const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
  if (handle < 0) return;
  store.ui.ShowBusy();
  const bool complete = WalkEntries(store, "Building " + FieldTitle(store, field) + " Index....",
                                    [&](const EntryRecord& record, EntryNumber n) {
                                      const auto number = static_cast<std::int32_t>(n);
                                      lib::AddKey(handle, PaddedKeyText(record, store.header, field), number, number);
                                    });
  store.ui.ClearBusy();
  FinishBuild(store, field, handle, !complete);
}

void BuildIndexInIndexOrder(CatalogStore& store, int field, int sourceField) {
  const short handle = OpenIndex(store, field, store.catalogName, lib::kNdxCreate);
  if (handle < 0) return;
  const short source = OpenIndex(store, sourceField, store.catalogName, lib::kNdxOpen);
  EntryNumber n = source < 0 ? 0 : FirstInIndex(store, source);
  store.ui.OpenGauge(static_cast<double>(store.header.Count()), "Building " + FieldTitle(store, field) + " Index....",
                     true);
  bool cancelled = false;
  EntryRecord record;
  for (std::int32_t sequence = 1; n > 0; ++sequence) {
    if (store.ui.StepGauge()) {
      cancelled = true;
      break;
    }
    if (ReadEntry(store, record, store.header, n, store.entryFile)) {
      lib::AddKey(handle, PaddedKeyText(record, store.header, field), static_cast<std::int32_t>(n), sequence);
    }
    n = NextInIndex(store, source);
  }
  if (source >= 0) lib::CloseNDX(source);
  store.ui.CloseGauge();
  FinishBuild(store, field, handle, cancelled);
}

}  // namespace vrk
