// What searching keeps while the program runs.
#pragma once

#include <string>

#include "catalog/CatalogTypes.h"

namespace vrk {

// How Search walks the catalog; VRK.INI keeps it as [Search] SearchMode.
enum class SearchMode : short {
  kAlphabetical = 0,  // through the index of the selected key field
  kSequential = 1,    // in entry order, or along the sorted chain of a sorted catalog
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
  std::string globalText;  // Global Search's text, which Search and Replace looks for too
  ReplaceState replace;
};

}  // namespace vrk
