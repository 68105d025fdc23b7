// Sort: up to nine levels of fields give the catalog an order without moving an entry. Each level's
// index is built in the order of the level below it, so that the first level's index lists the
// entries in the order of the whole pattern; a chain through the entries' NextSorted and PrevSorted
// then records that order, which sequential browsing and searching follow while the catalog is
// marked sorted.
#pragma once

#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

inline constexpr std::size_t kMostSortLevels = 9;

// The Sort Setup window (frmSortSetup): the fields it offers and the pattern being put together.
struct SortSetup {
  explicit SortSetup(CatalogStore& store);

  CatalogStore& store;         // Unsort and Clear All mark its catalog unsorted at once
  std::vector<short> offered;  // the fields of length 1 or more, in field order
  std::vector<short> levels;   // the pattern, the most significant level first
};

// A field's name as the window shows it.
std::string SortFieldName(const CatalogStore& store, short field);

// Add: "Only 9 sorting levels allowed." (after a beep) for a tenth level, "Key already in use. Select
// another." for a field already in the pattern. True when the level was added.
bool AddSortLevel(SortSetup& setup, short field);
// Remove drops the last level; emptying the pattern marks the catalog unsorted. Clear All drops all.
void RemoveSortLevel(SortSetup& setup);
void ClearSortLevels(SortSetup& setup);
// OK with an empty pattern says "No sort pattern specified." and keeps the window open.
bool AcceptSortPattern(SortSetup& setup);

// Marks the catalog unsorted and stores its settings at once. False when they could not be written.
bool MarkUnsorted(CatalogStore& store);

// Sorts the store's catalog (held for a change) by the levels: the level indexes built one after
// the other with their gauges, then the chain, with the gauge "SORTING...." and its Cancel. True when
// the catalog is sorted. A cancelled build stops with its message and leaves the chain and the mark
// as they were; a cancelled chaining marks the catalog unsorted and says so. A catalog without
// entries stays unsorted, without a word.
bool SortCatalog(CatalogStore& store, const std::vector<short>& levels);

// An entry added to a sorted catalog joins its chain at the end, so that sequential searches reach it
// and the catalog stays sorted. `LinkAtSortedEnd` gives the new entry's record its links (the last
// entry before it, and itself) before its slot is written; `JoinSortedEnd`, once the entries `first`
// to `last` are counted (their slots linked one to the next), makes the chain's last entry name
// `first` and stores `last` as LastSorted. A stop between the two leaves the chain as it was,
// without the new entries. False after the message of a refused write.
void LinkAtSortedEnd(const CatalogStore& store, EntryRecord& entry, EntryNumber n);
bool JoinSortedEnd(CatalogStore& store, EntryNumber first, EntryNumber last);
// The last entry of the sorted chain that entries from `n` on would join; 0 when the catalog is not
// sorted.
EntryNumber SortedChainEnd(const CatalogStore& store, EntryNumber n);

}  // namespace vrk
