// What searching keeps while the program runs.
#pragma once

namespace vrk {

// How Search walks the catalog; VRK.INI keeps it as [Search] SearchMode.
enum class SearchMode : short {
  kAlphabetical = 0,  // through the index of the selected key field
  kSequential = 1,    // in entry order, or along the sorted chain of a sorted catalog
};

struct SearchState {
  SearchMode mode = SearchMode::kSequential;
};

}  // namespace vrk
