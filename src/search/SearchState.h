// What searching keeps while the program runs: the three criterion sets, the search mode, the
// selected key field, the list range, the global search text, and the current list that Next and
// Previous follow.
#pragma once

#include <array>
#include <string>

#include "catalog/CatalogStore.h"
#include "report/ReportState.h"

namespace vrk {

// What a search, list or replacement says when it found nothing.
inline constexpr const char* kNoMatchesFound = "No Matches Found";
inline constexpr const char* kNoSequentialMatches = "No Matches Found!!!";
inline constexpr const char* kNoDeletedFound = "No Deleted Records Found";

// How Search walks the catalog; VRK.INI keeps it as [Search] SearchMode.
enum class SearchMode : short {
  kAlphabetical = 0,  // through the index of the selected key field
  kSequential = 1,    // in entry order, or along the sorted chain of a sorted catalog
};

// Kinds of the current list that Next and Previous follow. No list of entry numbers is kept: each
// kind finds its next or previous member on demand by its own rule (search/Walks.h).
enum ListKind : short {
  kBrowseEntries = 0,  // the whole catalog in entry order, browsing existing entries
  kMakeEntries = 1,    // the whole catalog in entry order, making a new entry
  kSequentialSearch = 2,
  kAlphabeticalSearch = 3,
  kGlobalSearch = 4,
  kRangeList = 5,
  kAlphabeticalList = 6,
  kDeletedList = 7,
};

// One line of a criterion set: a text for one field, kept exactly as typed (not trimmed, case kept).
struct CriterionLine {
  short field = 0;  // field index 0 to 20
  std::string text;
};

// Up to 21 lines in ascending field index, at most one per field, only for used fields and texts that
// are not empty. A set is always rebuilt whole (RebuildCriterionSet), never merged.
struct CriterionSet {
  std::array<CriterionLine, kFieldCount> lines{};
  short count = 0;

  bool Empty() const { return count == 0; }
  void Clear() { count = 0; }
  // The line on a field; null when the set has none.
  const CriterionLine* Find(int field) const {
    for (short i = 0; i < count; ++i) {
      if (lines[static_cast<std::size_t>(i)].field == field) return &lines[static_cast<std::size_t>(i)];
    }
    return nullptr;
  }
  const CriterionLine* begin() const { return lines.data(); }
  const CriterionLine* end() const { return lines.data() + count; }
};

// List Range's bounds, 0 while not set; the bounds of list kind 5.
struct ListRange {
  EntryNumber start = 0;
  EntryNumber end = 0;
};

// What the Search and Replace dialog stored last.
struct ReplaceState {
  std::string replacement;
  short field = 0;  // the field Field Replace changes
  bool global = false;
  EntryNumber startingRecord = 1;
};

struct SearchState {
  SearchMode mode = SearchMode::kSequential;
  CriterionSet criteria;       // what an entry must contain to match
  CriterionSet startingPoint;  // where an alphabetical walk begins (its line on the key field)
  CriterionSet endingPoint;    // where an alphabetical walk stops (every line counts)
  short keyField = 0;          // the key field chosen last; its index is the alphabetical order
  ListRange range;
  std::string globalText;  // Global Search's text, as typed; letter case per the catalog's setting
  ReplaceState replace;
  // The last sequential search found the sorted chain damaged: it and its Next and Previous go in
  // entry order.
  bool chainDamaged = false;
};

// What the walks and the output run work with. The Case Sensitive setting is the catalog's
// (CatalogStore::caseSensitive, saved in its setup file). `browseHandle` is the main window's
// index kept open for alphabetical lists (kinds 3 and 6).
struct SearchContext {
  CatalogStore& store;
  SearchState& search;
  short& browseHandle;
  ReportContext report;
};

}  // namespace vrk
