// The large-catalog passes beside SQLite 3 doing the same work on the same rows, in the same run:
//
//   Walk      every entry in key order: FirstInIndex/NextInIndex through the Artist index and
//             ReadEntry of each entry, as `vrkcli walk` and the alphabetical lists do; SQLite:
//             SELECT every column ORDER BY artist COLLATE NOCASE through an index on that column.
//   ReIndex   the three key indexes rebuilt (ReIndex); SQLite: CREATE INDEX … COLLATE NOCASE on the
//             three columns. Counters: bytes per key of the index files, peak resident memory of the
//             process while it ran (VmHWM) and how much above the memory before it that is.
//   Dump      every entry read in entry order (EntryReader) and formatted as a TAB line into a buffer
//             (AppendEntryLine), as `vrkcli dump` does; SQLite: SELECT rowid, * formatted the same way.
//   Totals    every entry read and its sum field added up (TotalCatalog); SQLite: SELECT SUM(price).
//   SaveEntry one new entry saved through the real SaveEntry path (indexes opened, keys filed, the
//             entry file then each index put on the disk, indexes closed), timed per call; SQLite: one INSERT in a
//             transaction of its own, default synchronous setting, the three columns indexed.
//
// Each figure pair is VRK/… and SQLite/… with the entry count as the argument. The 3,000,000-entry
// ReIndex cases run only with VRK_BENCH_LARGE=1 in the environment. See bench/README.md.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "BenchData.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/EntryText.h"
#include "index/Keys.h"
#include "index/Rebuild.h"
#include "platform/Printer.h"
#include "platform/Sound.h"
#include "shell/Editing.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/IndexFile.h"

namespace vrk::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMillion = 1'000'000;
using Clock = std::chrono::steady_clock;

double Microseconds(Clock::time_point from) {
  return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

// The catalog's three indexes, built once.
void EnsureIndexes(Collection& c) {
  static const Collection* indexed = nullptr;
  if (indexed == &c) return;
  Require(ReIndex(c.store), "build the indexes");
  indexed = &c;
}

std::int64_t IndexBytes(const Collection& c) {
  std::int64_t bytes = 0;
  for (int field = 0; field < 3; ++field) {
    bytes += static_cast<std::int64_t>(fs::file_size(c.scratch.dir / IndexFileName(field, "MUSIC")));
  }
  return bytes;
}

void SetMemoryCounters(benchmark::State& state, std::int64_t before) {
  state.counters["peak_MB"] = static_cast<double>(PeakMemory()) / 1e6;
  state.counters["above_start_MB"] = static_cast<double>(PeakMemory() - before) / 1e6;
}

void PerEntry(benchmark::State& state, std::int64_t count) {
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["ns_per_entry"] = benchmark::Counter(static_cast<double>(state.iterations() * count) * 1e-9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// ---- Walk in key order -----------------------------------------------------------------------------

void WalkVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  EnsureIndexes(c);
  EntryRecord record;
  for (auto _ : state) {
    const short handle = OpenIndex(c.store, 0, "MUSIC", lib::kNdxOpen);
    std::int64_t walked = 0;
    for (EntryNumber n = FirstInIndex(c.store, handle); n > 0; n = NextInIndex(c.store, handle)) {
      Require(ReadEntry(c.store, record, c.store.header, n, c.store.entryFile), "read an entry");
      benchmark::DoNotOptimize(record.Field[4].data());
      ++walked;
    }
    Require(lib::CloseNDX(c.store.indexes, handle) == lib::kNdxOk, "close the index");
    Require(walked == c.count, "walk every entry");
  }
  PerEntry(state, c.count);
}

void WalkSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  Exec(c.db, "CREATE INDEX IF NOT EXISTS walk_artist ON music(artist COLLATE NOCASE)");
  sqlite3_stmt* select = nullptr;
  const char* sql = "SELECT rowid, artist, title, label, year, price FROM music ORDER BY artist COLLATE NOCASE";
  Require(sqlite3_prepare_v2(c.db, sql, -1, &select, nullptr) == SQLITE_OK, "prepare the walk");
  for (auto _ : state) {
    std::int64_t walked = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_int64(select, 0));
      for (int i = 1; i <= 5; ++i) {
        benchmark::DoNotOptimize(sqlite3_column_text(select, i));
        benchmark::DoNotOptimize(sqlite3_column_bytes(select, i));
      }
      ++walked;
    }
    sqlite3_reset(select);
    Require(walked == c.count, "walk every row");
  }
  sqlite3_finalize(select);
  PerEntry(state, c.count);
}

// ---- ReIndex ---------------------------------------------------------------------------------------

void ReIndexVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  const std::int64_t before = CurrentMemory();
  ResetPeakMemory();
  for (auto _ : state) Require(ReIndex(c.store), "rebuild the indexes");
  SetMemoryCounters(state, before);
  state.counters["bytes_per_key"] = static_cast<double>(IndexBytes(c)) / static_cast<double>(3 * c.count);
  PerEntry(state, c.count);
}

void ReIndexSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  const char* const columns[] = {"artist", "title", "label"};
  // Pages in use: the file's pages less the free ones.
  const auto pragma = [&](const char* sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(c.db, sql, -1, &statement, nullptr);
    sqlite3_step(statement);
    const std::int64_t value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
  };
  const auto pages = [&] { return pragma("PRAGMA page_count") - pragma("PRAGMA freelist_count"); };
  std::int64_t indexPages = 0;
  std::int64_t before = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* column : columns) Exec(c.db, std::string("DROP INDEX IF EXISTS reindex_") + column);
    const std::int64_t tablePages = pages();
    before = CurrentMemory();
    ResetPeakMemory();
    state.ResumeTiming();
    for (const char* column : columns) {
      Exec(c.db, std::string("CREATE INDEX reindex_") + column + " ON music(" + column + " COLLATE NOCASE)");
    }
    indexPages = pages() - tablePages;
  }
  SetMemoryCounters(state, before);
  state.counters["bytes_per_key"] = static_cast<double>(indexPages * 4096) / static_cast<double>(3 * c.count);
  for (const char* column : columns) Exec(c.db, std::string("DROP INDEX IF EXISTS reindex_") + column);
  PerEntry(state, c.count);
}

// ---- Dump ------------------------------------------------------------------------------------------

// The formatted lines gather in a buffer that is handed on (here: dropped) whenever it is this full.
constexpr std::size_t kOutputBuffer = 1 << 16;

void DumpVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  EntryRecord record;
  std::string out;
  for (auto _ : state) {
    std::size_t bytes = 0;
    EntryReader entries(c.store);
    for (EntryNumber n = 1; n <= c.store.header.Count(); ++n) {
      Require(entries.Read(n, record), "read an entry");
      AppendEntryLine(out, c.store, n, record);
      if (out.size() >= kOutputBuffer) {
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
        out.clear();
      }
    }
    benchmark::DoNotOptimize(bytes += out.size());
    out.clear();
  }
  PerEntry(state, c.count);
}

void AppendNumber(std::string& out, std::int64_t n) {
  char digits[24];
  const int length = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(n));
  out.append(digits, static_cast<std::size_t>(length));
}

void DumpSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  sqlite3_stmt* select = nullptr;
  Require(sqlite3_prepare_v2(c.db, "SELECT rowid, * FROM music", -1, &select, nullptr) == SQLITE_OK,
          "prepare the dump");
  std::string out;
  for (auto _ : state) {
    std::size_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      AppendNumber(out, sqlite3_column_int64(select, 0));
      out += "\tactive";
      for (int i = 1; i <= 5; ++i) {
        out += '\t';
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select, i));
        out.append(text, static_cast<std::size_t>(sqlite3_column_bytes(select, i)));
      }
      out += '\n';
      if (out.size() >= kOutputBuffer) {
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
        out.clear();
      }
    }
    sqlite3_reset(select);
    benchmark::DoNotOptimize(bytes += out.size());
    out.clear();
  }
  sqlite3_finalize(select);
  PerEntry(state, c.count);
}

// ---- Totals ----------------------------------------------------------------------------------------

void TotalsVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  for (auto _ : state) {
    Require(TotalCatalog(c.store) == WalkEnd::kDone, "total the catalog");
    benchmark::DoNotOptimize(c.store.totals[4]);
  }
  PerEntry(state, c.count);
}

void TotalsSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  sqlite3_stmt* select = nullptr;
  Require(sqlite3_prepare_v2(c.db, "SELECT SUM(price) FROM music", -1, &select, nullptr) == SQLITE_OK,
          "prepare the sum");
  for (auto _ : state) {
    Require(sqlite3_step(select) == SQLITE_ROW, "sum the rows");
    benchmark::DoNotOptimize(sqlite3_column_double(select, 0));
    sqlite3_reset(select);
  }
  sqlite3_finalize(select);
  PerEntry(state, c.count);
}

// ---- Saving one entry ------------------------------------------------------------------------------

// One new entry saved through SaveEntry, as the Save command does: its three indexes opened and held
// for the append, the entry written, its keys filed, the entry file and then the indexes put on the
// disk with their new count of entries, and closed. Per call p50, p99 and max.
void SaveEntryVrk(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  EnsureIndexes(c);
  // The program opens the catalog for a change itself: the collection lets go of it.
  (void)c.store.files.Close(c.store.entryFile);
  c.store.entryFile = 0;
  QuietUi ui;
  TextScreen screen;
  SilentSound sound;
  NoPrinter printer;
  Program program{{ui, screen, sound, printer}};
  SetProgramDirectory(program, c.scratch.dir.string());
  Require(UseCatalog(program, c.scratch.dir.string(), "MUSIC", CatalogAccess::kChange), "open the catalog");
  RowSource rows(99);
  Latencies latencies;
  for (auto _ : state) {
    state.PauseTiming();
    EraseScreen(program);
    const Row row = rows.Next();
    const std::string* texts[] = {&row.artist, &row.title, &row.label, &row.year, &row.price};
    for (int i = 0; i < 5; ++i) screen.SetBoxText(i, *texts[i]);
    const EntryNumber before = program.header.Count();
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    const bool saved = SaveEntry(program);
    latencies.Add(Microseconds(start));
    if (!saved || program.header.Count() != before + 1) state.SkipWithError("the entry was not saved");
  }
  Require(CloseCurrentCatalog(program), "close the catalog");
  Require(ui.messages == 0, "save without a message");
  latencies.Report(state);
}

// One INSERT in a transaction of its own, with the default synchronous setting, into the table with
// an index on each of the three columns.
void SaveEntrySqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0));
  for (const char* column : {"artist", "title", "label"}) {
    Exec(c.db, std::string("CREATE INDEX IF NOT EXISTS save_") + column + " ON music(" + column + " COLLATE NOCASE)");
  }
  sqlite3_stmt* insert = nullptr;
  Require(sqlite3_prepare_v2(c.db, "INSERT INTO music VALUES(?, ?, ?, ?, ?)", -1, &insert, nullptr) == SQLITE_OK,
          "prepare the insert");
  RowSource rows(99);
  Latencies latencies;
  for (auto _ : state) {
    const Row row = rows.Next();
    const std::string* texts[] = {&row.artist, &row.title, &row.label, &row.year, &row.price};
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 5; ++i) sqlite3_bind_text(insert, i + 1, texts[i]->c_str(), -1, SQLITE_STATIC);
    const bool inserted = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
    latencies.Add(Microseconds(start));
    if (!inserted) state.SkipWithError("the row was not inserted");
  }
  sqlite3_finalize(insert);
  latencies.Report(state);
}

// Registered by size, so that each collection is made once: the benchmarks run in this order.
const bool registered = [] {
  const auto add = [](const char* name, void (*function)(benchmark::State&), std::int64_t count, int iterations) {
    benchmark::RegisterBenchmark(name, function)
        ->Arg(count)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations)
        ->UseRealTime();
  };
  add("ReIndex/VRK", ReIndexVrk, 100'000, 5);
  add("ReIndex/SQLite", ReIndexSqlite, 100'000, 5);
  add("ReIndex/VRK", ReIndexVrk, kMillion, 3);
  add("ReIndex/SQLite", ReIndexSqlite, kMillion, 3);
  add("Walk/VRK", WalkVrk, kMillion, 3);
  add("Walk/SQLite", WalkSqlite, kMillion, 3);
  add("Dump/VRK", DumpVrk, kMillion, 3);
  add("Dump/SQLite", DumpSqlite, kMillion, 3);
  add("Totals/VRK", TotalsVrk, kMillion, 10);
  add("Totals/SQLite", TotalsSqlite, kMillion, 10);
  // Last of this size: they add entries and rows.
  add("SaveEntry/SQLite", SaveEntrySqlite, kMillion, 200);
  add("SaveEntry/VRK", SaveEntryVrk, kMillion, 200);
  if (LargeCases()) {
    add("ReIndex/VRK", ReIndexVrk, 3 * kMillion, 1);
    add("ReIndex/SQLite", ReIndexSqlite, 3 * kMillion, 1);
  }
  return true;
}();

}  // namespace
}  // namespace vrk::bench
