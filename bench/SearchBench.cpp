// Searches over the large collection beside SQLite 3 doing the same selection on the same rows:
//
//   Sequential  a sequential search with two criteria (Artist contains "ar", Title contains "en")
//               walked to the end, every member read whole; SQLite: SELECT every column WHERE
//               artist LIKE '%ar%' AND title LIKE '%en%'.
//   Global      a global search for "en" in any field walked to the end; SQLite: the same SELECT.
//   AlphaPrefix an alphabetical search with the two-letter Artist criterion "Ma": it reads only the
//               keys from "MA" on and stops at the first that no longer starts with it. Milliseconds
//               per search; counter `members`.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchData.h"
#include "BenchSearch.h"
#include "index/Keys.h"
#include "index/Rebuild.h"
#include "platform/Printer.h"
#include "search/Criteria.h"
#include "search/Walks.h"
#include "support/IndexFile.h"

namespace vrk::bench {
namespace {

constexpr std::int64_t kMillion = 1'000'000;

std::int64_t SqliteMembers(Collection& c) {
  sqlite3_stmt* select = nullptr;
  const char* sql =
      "SELECT rowid, artist, title, label, year, price FROM music WHERE artist LIKE '%ar%' AND title LIKE '%en%'";
  Require(sqlite3_prepare_v2(c.db, sql, -1, &select, nullptr) == SQLITE_OK, "prepare the search");
  std::int64_t rows = 0;
  while (sqlite3_step(select) == SQLITE_ROW) {
    for (int i = 1; i <= 5; ++i) benchmark::DoNotOptimize(sqlite3_column_text(select, i));
    ++rows;
  }
  sqlite3_finalize(select);
  return rows;
}

void PerEntry(benchmark::State& state, std::int64_t count, std::int64_t members) {
  state.counters["members"] = static_cast<double>(members);
  state.counters["ns_per_entry"] = benchmark::Counter(static_cast<double>(state.iterations() * count) * 1e-9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SequentialVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  SearchState search = Criteria(c, {"ar", "en"}, SearchMode::kSequential);
  std::int64_t members = 0;
  for (auto _ : state) members = Members(c, search, kSequentialSearch);
  Require(members == SqliteMembers(c), "find what SQLite finds");
  PerEntry(state, c.count, members);
}

void SequentialSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  std::int64_t members = 0;
  for (auto _ : state) members = SqliteMembers(c);
  PerEntry(state, c.count, members);
}

void GlobalVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  SearchState search;
  search.globalText = "en";
  std::int64_t members = 0;
  for (auto _ : state) members = Members(c, search, kGlobalSearch);
  PerEntry(state, c.count, members);
}

void AlphaPrefixVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  if (!std::filesystem::exists(c.scratch.dir / IndexFileName(0, "MUSIC"))) {
    Require(ReIndex(c.store), "build the indexes");
  }
  SearchState search = Criteria(c, {"Ma"}, SearchMode::kAlphabetical);
  std::int64_t members = 0;
  for (auto _ : state) members = Members(c, search, kAlphabeticalSearch);
  state.counters["members"] = static_cast<double>(members);
}

BENCHMARK(SequentialVrk)->Name("Search/Sequential/VRK")->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(SequentialSqlite)->Name("Search/Sequential/SQLite")->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(GlobalVrk)->Name("Search/Global/VRK")->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(AlphaPrefixVrk)->Name("Search/AlphaPrefix/VRK")->Arg(kMillion)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrk::bench
