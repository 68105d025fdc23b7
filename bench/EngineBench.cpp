// The walks that jump about the entry file, and the passes that sort or change many entries, beside
// SQLite 3 doing the same on the same rows in the same run, at 100,000 and 1,000,000 entries
// (3,000,000 with VRK_BENCH_LARGE=1). CPU time of the process, warm: the files are in the page cache.
//
//   SortedSearch    the sequential search of Search/Sequential (Artist "ar", Title "en") on the
//                   catalog sorted by Artist, every member read whole in chain order; SQLite: the same
//                   SELECT ORDER BY artist COLLATE NOCASE over its index. UnsortedSearch: the same
//                   search before the sort, the yardstick of the chain's cost.
//   ListAlpha       List Alphabetically by Artist as an output run, every entry read whole; SQLite:
//                   every column ORDER BY artist COLLATE NOCASE over its index.
//   AlphaNoMatch    an alphabetical search with a two-letter Artist prefix no entry has; microseconds
//                   per search (p50, p99), beside SQLite's LIKE 'xx%' over its NOCASE index.
//   Sort3           the three-level sort (Artist, Title, Label); SQLite: CREATE INDEX on the three
//                   columns COLLATE NOCASE. Counter peak_MB (VmHWM while it ran).
//   Replace         Field Replace of a Title word that about 8 % of the entries hold, keys refiled;
//                   SQLite: UPDATE … SET title = replace(title, …) in one transaction. The word and its
//                   replacement swap places every iteration. Counter peak_MB.
//
// Each VRK figure must find what SQLite finds (the members, or the rows changed), or the run ends.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "BenchData.h"
#include "BenchSearch.h"
#include "admin/Sort.h"
#include "index/Keys.h"
#include "index/Rebuild.h"
#include "platform/Printer.h"
#include "search/Criteria.h"
#include "search/Replace.h"
#include "search/Walks.h"
#include "support/IndexFile.h"

namespace vrk::bench {
namespace {

constexpr std::int64_t kMillion = 1'000'000;
constexpr const char* kWhere = " WHERE artist LIKE '%ar%' AND title LIKE '%en%'";

void Indexed(Collection& c) {
  if (!std::filesystem::exists(c.scratch.dir / IndexFileName(0, "MUSIC"))) Require(ReIndex(c.store), "index");
  Exec(c.db, "CREATE INDEX IF NOT EXISTS music_artist ON music(artist COLLATE NOCASE)");
}

std::int64_t SqliteRows(Collection& c, const std::string& sql) {
  sqlite3_stmt* select = nullptr;
  Require(sqlite3_prepare_v2(c.db, sql.c_str(), -1, &select, nullptr) == SQLITE_OK, "prepare the query");
  std::int64_t rows = 0;
  while (sqlite3_step(select) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(select); ++i) benchmark::DoNotOptimize(sqlite3_column_text(select, i));
    ++rows;
  }
  sqlite3_finalize(select);
  return rows;
}

void PerEntry(benchmark::State& state, std::int64_t count) {
  state.counters["ns_per_entry"] = benchmark::Counter(static_cast<double>(state.iterations() * count) * 1e-9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Search(benchmark::State& state, bool sorted) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  if (sorted) Require(SortCatalog(c.store, {0}), "sort by Artist");
  SearchState search = Criteria(c, {"ar", "en"}, SearchMode::kSequential);
  std::int64_t members = 0;
  for (auto _ : state) members = Members(c, search, kSequentialSearch);
  if (sorted) Require(MarkUnsorted(c.store), "mark unsorted again");
  Require(members == SqliteRows(c, std::string("SELECT rowid FROM music") + kWhere), "find what SQLite finds");
  state.counters["members"] = static_cast<double>(members);
  PerEntry(state, c.count);
}

void SortedSearchVrk(benchmark::State& state) { Search(state, true); }
void UnsortedSearchVrk(benchmark::State& state) { Search(state, false); }

void SortedSearchSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  const std::string sql = std::string("SELECT rowid, artist, title, label, year, price FROM music") + kWhere +
                          " ORDER BY artist COLLATE NOCASE";
  std::int64_t rows = 0;
  for (auto _ : state) rows = SqliteRows(c, sql);
  state.counters["members"] = static_cast<double>(rows);
  PerEntry(state, c.count);
}

void ListAlphaVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  SearchState search;
  std::int64_t members = 0;
  for (auto _ : state) members = Members(c, search, kAlphabeticalList);
  Require(members == c.count, "list every entry");
  PerEntry(state, c.count);
}

void ListAlphaSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  std::int64_t rows = 0;
  for (auto _ : state) {
    rows = SqliteRows(c, "SELECT rowid, artist, title, label, year, price FROM music ORDER BY artist COLLATE NOCASE");
  }
  Require(rows == c.count, "list every row");
  PerEntry(state, c.count);
}

// A two-letter prefix of no artist.
std::string NoArtistPrefix(Collection& c) {
  for (const char* prefix : {"Qx", "Xq", "Zx", "Jq", "Vq"}) {
    if (SqliteRows(c, std::string("SELECT rowid FROM music WHERE artist LIKE '") + prefix + "%'") == 0) return prefix;
  }
  Require(false, "find a prefix of no artist");
  return {};
}

void AlphaNoMatchVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  SearchState search = Criteria(c, {NoArtistPrefix(c)}, SearchMode::kAlphabetical);
  Latencies latencies;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Require(Members(c, search, kAlphabeticalSearch) == 0, "find nothing");
    latencies.Add(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  latencies.Report(state);
}

void AlphaNoMatchSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  const std::string sql = "SELECT rowid, artist, title FROM music WHERE artist LIKE '" + NoArtistPrefix(c) + "%'";
  Latencies latencies;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Require(SqliteRows(c, sql) == 0, "find nothing");
    latencies.Add(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  latencies.Report(state);
}

void PeakMegabytes(benchmark::State& state, std::int64_t before) {
  state.counters["peak_MB"] = static_cast<double>(PeakMemory()) / 1e6;
  state.counters["above_start_MB"] = static_cast<double>(PeakMemory() - before) / 1e6;
}

void Sort3Vrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  ResetPeakMemory();
  const std::int64_t before = CurrentMemory();
  for (auto _ : state) Require(SortCatalog(c.store, {0, 1, 2}), "sort");
  PeakMegabytes(state, before);
  Require(MarkUnsorted(c.store), "mark unsorted again");
  PerEntry(state, c.count);
}

void Sort3Sqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  ResetPeakMemory();
  const std::int64_t before = CurrentMemory();
  for (auto _ : state) {
    Exec(c.db, "CREATE INDEX music_three ON music(artist COLLATE NOCASE, title COLLATE NOCASE, label COLLATE NOCASE)");
    state.PauseTiming();
    Exec(c.db, "DROP INDEX music_three");
    state.ResumeTiming();
  }
  PeakMegabytes(state, before);
  PerEntry(state, c.count);
}

// A word of the titles that about 8 % of them hold, and a replacement of the same length that none
// holds: they swap places every iteration.
std::pair<std::string, std::string> ReplaceWords(Collection& c) {
  static std::pair<std::string, std::string> words;
  if (!words.first.empty()) return words;
  sqlite3_stmt* select = nullptr;
  Require(sqlite3_prepare_v2(c.db, "SELECT title FROM music LIMIT 300", -1, &select, nullptr) == SQLITE_OK, "titles");
  std::vector<std::string> seen;
  while (sqlite3_step(select) == SQLITE_ROW) {
    std::string title = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
    const std::string first = title.substr(0, title.find(' '));
    if (first.size() >= 4 && std::find(seen.begin(), seen.end(), first) == seen.end()) seen.push_back(first);
  }
  sqlite3_finalize(select);
  double best = 1;
  for (const std::string& word : seen) {
    const double share =
        static_cast<double>(SqliteRows(c, "SELECT rowid FROM music WHERE title LIKE '%" + word + "%'")) /
        static_cast<double>(c.count);
    if (std::abs(share - 0.08) < std::abs(best - 0.08)) {
      best = share;
      words.first = word;
    }
    if (std::abs(best - 0.08) < 0.01) break;
  }
  words.second = words.first;
  words.second[0] = 'Q';
  Require(SqliteRows(c, "SELECT rowid FROM music WHERE title LIKE '%" + words.second + "%'") == 0, "a new word");
  return words;
}

void ReplaceVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Indexed(c);
  auto [from, to] = ReplaceWords(c);
  ResetPeakMemory();
  const std::int64_t before = CurrentMemory();
  long changed = 0;
  for (auto _ : state) {
    ReplaceState replace{.replacement = to, .field = 1};
    const ReplaceResult result = RunReplace(c.store, from, replace, false);
    Require(result.stored && result.changed > 0, "replace");
    changed = result.changed;
    std::swap(from, to);
  }
  PeakMegabytes(state, before);
  state.counters["changed"] = static_cast<double>(changed);
  PerEntry(state, c.count);
}

void ReplaceSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  auto [from, to] = ReplaceWords(c);
  Exec(c.db, "CREATE INDEX IF NOT EXISTS music_title ON music(title COLLATE NOCASE)");
  Exec(c.db, "CREATE INDEX IF NOT EXISTS music_label ON music(label COLLATE NOCASE)");
  int changed = 0;
  for (auto _ : state) {
    Exec(c.db, "BEGIN");
    Exec(c.db,
         "UPDATE music SET title = replace(title, '" + from + "', '" + to + "') WHERE title LIKE '%" + from + "%'");
    changed = sqlite3_changes(c.db);
    Exec(c.db, "COMMIT");
    std::swap(from, to);
  }
  state.counters["changed"] = changed;
  PerEntry(state, c.count);
}

const bool registered = [] {
  std::vector<std::int64_t> sizes{100'000, kMillion};
  if (LargeCases()) sizes.push_back(3 * kMillion);
  // By size first, so that each collection is made once.
  for (const std::int64_t size : sizes) {
    const auto add = [size](const char* name, void (*function)(benchmark::State&), int iterations) {
      benchmark::RegisterBenchmark(name, function)->Arg(size)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    add("Engine/UnsortedSearch/VRK", UnsortedSearchVrk, 3);
    add("Engine/SortedSearch/VRK", SortedSearchVrk, 3);
    add("Engine/SortedSearch/SQLite", SortedSearchSqlite, 3);
    add("Engine/ListAlpha/VRK", ListAlphaVrk, 3);
    add("Engine/ListAlpha/SQLite", ListAlphaSqlite, 3);
    add("Engine/AlphaNoMatch/VRK", AlphaNoMatchVrk, 200);
    add("Engine/AlphaNoMatch/SQLite", AlphaNoMatchSqlite, 200);
    add("Engine/Sort3/VRK", Sort3Vrk, 2);
    add("Engine/Sort3/SQLite", Sort3Sqlite, 2);
    add("Engine/Replace/VRK", ReplaceVrk, 2);
    add("Engine/Replace/SQLite", ReplaceSqlite, 2);
  }
  return true;
}();

}  // namespace
}  // namespace vrk::bench
