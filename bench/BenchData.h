// What the benchmarks work on: a record collection of artists, titles and labels made of a few
// thousand words that repeat as words of real collections do (a few very often, most rarely), the
// same rows as a VRK catalog and as an SQLite table, and the helpers the benchmarks share.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "QuietUi.h"
#include "catalog/CatalogStore.h"

namespace vrk::bench {

// The set-up must work, or the figures mean nothing: prints what failed and ends the run.
void Require(bool ok, const char* what);

// One row of the collection.
struct Row {
  std::string artist, title, label, year, price;
};

// Rows in a fixed order from a seed: words drawn from about 4,000 made-up words by a Zipf-like law.
class RowSource {
 public:
  explicit RowSource(std::uint32_t seed = 7);
  Row Next();
  // A text of `words` words, capitalised, at most `length` characters.
  std::string Text(std::size_t words, std::size_t length);

 private:
  const std::string& Word();
  std::mt19937 random_;
  std::vector<std::string> words_;
  std::vector<double> cumulative_;
};

// The catalog layout: Artist (30, key), Title (30, key), Label (20, key), Year (4), Price (8, sum).
inline constexpr short kLengths[] = {30, 30, 20, 4, 8};

// A scratch directory, removed with everything in it when the object goes, unless `keep`.
struct Scratch {
  explicit Scratch(const std::string& name);
  Scratch(std::filesystem::path kept, bool keep);
  ~Scratch();
  std::string PathOf(const std::string& name) const { return (dir / name).string(); }
  std::filesystem::path dir;
  bool keep = false;
};

// A catalog MUSIC of `count` rows from RowSource, open for a change, and the same rows in an SQLite
// table `music` with columns artist, title, label, year, price (and its rowid the entry number).
// With VRK_BENCH_KEEP=DIR in the environment they are made in DIR/N (N the count) and left there,
// for trying vrkcli on them.
struct Collection {
  explicit Collection(std::int64_t count, bool withSqlite = true);
  ~Collection();
  Collection(const Collection&) = delete;
  Collection& operator=(const Collection&) = delete;

  std::int64_t count;
  Scratch scratch;
  QuietUi ui;
  CatalogStore store{ui};
  sqlite3* db = nullptr;
};

// The collection of that size, made on first use and kept for the run; one at a time.
Collection& CollectionOf(std::int64_t count, bool withSqlite = true);

// Runs SQL that returns no rows; ends the run on failure.
void Exec(sqlite3* db, const std::string& sql);

// The peak of this process's resident memory since the last ResetPeakMemory, in bytes (VmHWM).
void ResetPeakMemory();
std::int64_t PeakMemory();
std::int64_t CurrentMemory();

// Percentiles of per-call times, in microseconds, as benchmark counters.
struct Latencies {
  void Add(double microseconds) { samples.push_back(microseconds); }
  // Sets p50, p99 and max on the state.
  void Report(benchmark::State& state);
  std::vector<double> samples;
};

// True when the large (3,000,000-entry) cases were asked for: VRK_BENCH_LARGE=1.
bool LargeCases();

}  // namespace vrk::bench
