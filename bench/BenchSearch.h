// The search helpers the search and engine benchmarks share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BenchData.h"
#include "search/Criteria.h"
#include "search/Walks.h"

namespace vrk::bench {

// Walks a search to its end as an output run would; the number of members.
std::int64_t Members(Collection& c, SearchState& search, ListKind kind);
// A search of the collection's catalog with one criterion text per field (empty: none).
SearchState Criteria(Collection& c, const std::vector<std::string>& texts, SearchMode mode);

}  // namespace vrk::bench
