// The catalog table on the collection (no SQLite beside it: the table has no counterpart there):
//
//   Table/Open     the rows without a filter and the first screen (40 rows, every cell) decoded, as the
//                  window shows them when it opens; milliseconds.
//   Table/Scroll   a screen of 40 rows at a random place, read and decoded; p50, p99, max in µs.
//   Table/Filter   the filter "en" (any field, as the global search tests it) and "art:ma ti:en" (two
//                  fields), and "en" ordered by Artist, each over every entry; counter `rows`, and
//                  `peak_MB` above the memory before.
// Open and Scroll run at 1,000,000 entries, and at 3,000,000 with VRK_BENCH_LARGE=1.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

#include "BenchData.h"
#include "shell/CatalogTable.h"

namespace vrk::bench {
namespace {

constexpr std::int64_t kMillion = 1'000'000;
constexpr EntryNumber kScreenRows = 40;

// Reads and decodes the screen of rows from `first` on, as the model's cells.
void ShowScreen(TableRowCache& cache, const TableRows& rows, EntryNumber first) {
  for (EntryNumber row = first; row < std::min(first + kScreenRows, rows.Size()); ++row) {
    const EntryRecord* entry = cache.Entry(rows.Entry(row));
    Require(entry != nullptr, "read a row");
    for (int i = 0; i < 5; ++i) benchmark::DoNotOptimize(cache.Cell(*entry, i));
  }
}

void Open(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0), false);
  for (auto _ : state) {
    const TableCatalog catalog = TableCatalogOf(c.store);
    const std::optional<TableRows> rows = QueryTable(catalog, {}, {});
    TableRowCache cache(catalog);
    ShowScreen(cache, *rows, 0);
  }
}

void Scroll(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0), false);
  const TableCatalog catalog = TableCatalogOf(c.store);
  const std::optional<TableRows> rows = QueryTable(catalog, {}, {});
  TableRowCache cache(catalog);
  std::mt19937 random(11);
  Latencies latencies;
  for (auto _ : state) {
    const auto first = static_cast<EntryNumber>(random() % static_cast<std::uint32_t>(rows->Size() - kScreenRows));
    const auto start = std::chrono::steady_clock::now();
    ShowScreen(cache, *rows, first);
    latencies.Add(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  latencies.Report(state);
}

void Filter(benchmark::State& state, TableQuery query) {
  Collection& c = CollectionOf(state.range(0), false);
  const TableCatalog catalog = TableCatalogOf(c.store);
  const std::int64_t before = CurrentMemory();
  ResetPeakMemory();
  EntryNumber found = 0;
  for (auto _ : state) found = QueryTable(catalog, query, {})->Size();
  state.counters["rows"] = static_cast<double>(found);
  state.counters["peak_MB"] = static_cast<double>(PeakMemory() - before) / (1024.0 * 1024.0);
}

// Registered by size, so that each collection is made once.
const bool registered = [] {
  const auto add = [](const char* name, auto function, std::int64_t count) {
    return benchmark::RegisterBenchmark(name, function)->Arg(count)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  add("Table/Open", Open, kMillion)->Iterations(20);
  add("Table/Scroll", Scroll, kMillion)->Iterations(1000)->Unit(benchmark::kMicrosecond);
  add(
      "Table/Filter/en", [](benchmark::State& state) { Filter(state, {.filter = "en"}); }, kMillion)
      ->Iterations(5);
  add(
      "Table/Filter/art:ma ti:en", [](benchmark::State& state) { Filter(state, {.filter = "art:ma ti:en"}); }, kMillion)
      ->Iterations(5);
  add(
      "Table/Filter/en by Artist",
      [](benchmark::State& state) { Filter(state, {.filter = "en", .order = {.field = 0}}); }, kMillion)
      ->Iterations(3);
  if (LargeCases()) {
    add("Table/Open", Open, 3 * kMillion)->Iterations(20);
    add("Table/Scroll", Scroll, 3 * kMillion)->Iterations(1000)->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
}  // namespace vrk::bench
