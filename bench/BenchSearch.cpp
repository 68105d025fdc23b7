#include "BenchSearch.h"

#include "index/Keys.h"
#include "platform/Printer.h"
#include "support/IndexFile.h"

namespace vrk::bench {

std::int64_t Members(Collection& c, SearchState& search, ListKind kind) {
  NoPrinter printer;
  ReportState report;
  short browse = kNoIndex;
  SearchContext context{c.store, search, browse, {c.store, printer, report}};
  ListWalk walk(context, kind, WalkUse::kOutput);
  EntryRecord entry;
  std::int64_t members = 0;
  for (EntryNumber n = walk.First(entry); n > 0; n = walk.Next(n, entry)) {
    benchmark::DoNotOptimize(entry.Field[0].data());
    ++members;
  }
  Require(walk.End() == WalkEnd::kDone, "walk to the end");
  if (browse != kNoIndex) Require(lib::CloseNDX(c.store.indexes, browse) == lib::kNdxOk, "close the browse index");
  return members;
}

SearchState Criteria(Collection& c, const std::vector<std::string>& texts, SearchMode mode) {
  SearchState search;
  search.mode = mode;
  RebuildCriterionSet(search.criteria, c.store.header, texts);
  return search;
}

}  // namespace vrk::bench
