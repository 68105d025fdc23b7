#include "admin/Sort.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "index/Rebuild.h"
#include "platform/LongOperation.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

void MarkUnsortedWhenEmptied(SortSetup& setup) {
  if (setup.levels.empty()) (void)MarkUnsorted(setup.store);  // a refused write has had its message
}

bool SyncEntryFile(CatalogStore& store) {
  BufferedFile& file = *store.files.Get(store.entryFile);
  if (file.Sync()) return true;
  ReportFileError(store.ui, FileFailureFromErrno(file.error(), store.BasePath() + ".DAT"));
  return false;
}

// The entries in the order of the first level's index; false when the walk was cancelled or failed.
bool ChainOrder(CatalogStore& store, short field, std::vector<std::int32_t>& order) {
  const IndexHandle index(store, field, lib::kNdxOpen);
  if (!index) return false;
  const EntryNumber count = store.header.Count();
  LongOperation sorting(store.ui, {.windowDisabled = true, .gauge = Gauge{static_cast<double>(count), "SORTING...."}});
  order.reserve(static_cast<std::size_t>(count));
  const WalkEnd end = VisitIndex(store, index.get(), [&](EntryNumber n) {
    if (store.ui.StepGauge()) return false;
    order.push_back(static_cast<std::int32_t>(n));
    return true;
  });
  sorting.End();
  return end == WalkEnd::kDone;
}

// Writes every entry's NextSorted and PrevSorted from the order, in one pass in entry order that
// leaves every other byte of the slots as it was; the first entry's PrevSorted and the last one's
// NextSorted name the entry itself. False when the order is not every entry once, or a write failed.
bool WriteChain(CatalogStore& store, const std::vector<std::int32_t>& order) {
  const EntryNumber count = store.header.Count();
  if (static_cast<EntryNumber>(order.size()) != count) return false;
  std::vector<std::int32_t> at(static_cast<std::size_t>(count) + 1, -1);
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::int32_t& place = at[static_cast<std::size_t>(order[i])];
    if (place >= 0) return false;
    place = static_cast<std::int32_t>(i);
  }
  const SlotLayout layout(store.header);
  const auto last = static_cast<std::int32_t>(order.size()) - 1;
  return VisitSlots(store, store.entryFile, store.header, 1, count, true,
                    [&](EntryNumber n, char* slot) {
                      const std::int32_t i = at[static_cast<std::size_t>(n)];
                      PutSingle(slot + layout.links,
                                static_cast<float>(order[static_cast<std::size_t>(std::min(i + 1, last))]));
                      PutSingle(slot + layout.links + 4,
                                static_cast<float>(order[static_cast<std::size_t>(std::max(i - 1, 0))]));
                      return true;
                    }) &&
         SyncEntryFile(store);
}

}  // namespace

SortSetup::SortSetup(CatalogStore& store) : store(store) {
  for (short field = 0; field < kFieldCount; ++field) {
    if (store.header.FieldLength[static_cast<std::size_t>(field)] > 0) offered.push_back(field);
  }
}

std::string SortFieldName(const CatalogStore& store, short field) {
  return RightTrim(store.fieldTable[static_cast<std::size_t>(field)].Name);
}

bool AddSortLevel(SortSetup& setup, short field) {
  if (setup.levels.size() >= kMostSortLevels) {
    setup.store.ui.Beep();
    setup.store.ui.Message("Only 9 sorting levels allowed.");
    return false;
  }
  if (std::find(setup.levels.begin(), setup.levels.end(), field) != setup.levels.end()) {
    setup.store.ui.Message("Key already in use. Select another.");
    return false;
  }
  setup.levels.push_back(field);
  return true;
}

void RemoveSortLevel(SortSetup& setup) {
  if (setup.levels.empty()) return;
  setup.levels.pop_back();
  MarkUnsortedWhenEmptied(setup);
}

void ClearSortLevels(SortSetup& setup) {
  setup.levels.clear();
  MarkUnsortedWhenEmptied(setup);
}

bool AcceptSortPattern(SortSetup& setup) {
  if (!setup.levels.empty()) return true;
  setup.store.ui.Message("No sort pattern specified.");
  return false;
}

bool MarkUnsorted(CatalogStore& store) {
  store.settings.SortedMark = 0;
  return WriteSettings(store, store.catalogName, store.settings);
}

bool SortCatalog(CatalogStore& store, const std::vector<short>& levels) {
  if (levels.empty()) return false;
  if (store.header.Count() == 0) {
    if (store.settings.SortedMark != 0) (void)MarkUnsorted(store);
    return false;
  }
  if (!BuildIndexInFileOrder(store, levels.back())) return false;
  LongOperation busy(store.ui, {.busy = true});
  for (std::size_t k = levels.size() - 1; k-- > 0;) {
    if (!BuildIndexInIndexOrder(store, levels[k], levels[k + 1])) return false;
  }
  std::vector<std::int32_t> order;
  const bool walked = ChainOrder(store, levels.front(), order);
  busy.End();
  if (!order.empty()) store.settings.FirstSorted = static_cast<float>(order.front());
  // Unsorted on the disk while the links change: a stop half way never leaves half a chain in force.
  bool sorted = walked && MarkUnsorted(store) && WriteChain(store, order);
  if (sorted) {
    store.settings.SortedMark = 1;
    store.settings.LastSorted = static_cast<float>(order.back());
  } else {
    store.settings.SortedMark = 0;
    store.ui.Message("Sorting aborted. Catalog marked as UNSORTED.");
  }
  sorted = WriteSettings(store, store.catalogName, store.settings) && sorted;
  return sorted;
}

// A LastSorted that names no entry before n is a damaged chain, which the searches notice themselves.
EntryNumber SortedChainEnd(const CatalogStore& store, EntryNumber n) {
  const float last = store.settings.LastSorted;
  if (store.settings.SortedMark != 1.0f || !(last >= 1 && last < static_cast<float>(n))) return 0;
  return static_cast<EntryNumber>(last);
}

void LinkAtSortedEnd(const CatalogStore& store, EntryRecord& entry, EntryNumber n) {
  const EntryNumber last = SortedChainEnd(store, n);
  if (last == 0) return;
  entry.PrevSorted = static_cast<float>(last);
  entry.NextSorted = static_cast<float>(n);
}

bool JoinSortedEnd(CatalogStore& store, EntryNumber first, EntryNumber last) {
  const EntryNumber end = SortedChainEnd(store, first);
  if (end == 0) return true;
  const SlotLayout layout(store.header);
  if (!VisitSlots(store, store.entryFile, store.header, end, end, true, [&](EntryNumber, char* slot) {
        PutSingle(slot + layout.links, static_cast<float>(first));
        return true;
      })) {
    return false;
  }
  store.settings.LastSorted = static_cast<float>(last);
  return WriteSettings(store, store.catalogName, store.settings);
}

}  // namespace vrk
