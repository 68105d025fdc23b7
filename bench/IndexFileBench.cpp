// Index file speed: upkeep (AddKey, DeleteKey) and lookups (GetKey) on an index of a million random
// keys, and a bulk build of a million keys in file order.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/Support.h"

namespace vrk::lib {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kKeys = 1'000'000;
constexpr std::int64_t kUpkeepCalls = 100'000;  // per repetition; deletions must not run out of keys

std::vector<std::string> RandomKeys(std::size_t count, std::uint32_t seed) {
  static const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz0123456789";
  std::mt19937 random(seed);
  std::vector<std::string> keys(count);
  for (std::string& key : keys) {
    key.resize(10 + random() % 11);
    for (char& c : key) c = letters[random() % letters.size()];
  }
  return keys;
}

// A directory of its own for the benchmark's files, removed at the end.
struct Scratch {
  Scratch() : dir(fs::temp_directory_path() / ("vrk-index-bench-" + std::to_string(::getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Scratch() {
    InitIndexes();
    fs::remove_all(dir);
  }
  std::string PathOf(const std::string& name) const { return (dir / name).string(); }
  fs::path dir;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

// The million-key index the upkeep and lookup benchmarks share, built on first use.
struct MillionKeys {
  MillionKeys() : keys(RandomKeys(kKeys, 1)) {
    OpenNDX(handle, scratch().PathOf("MILLION.WDX"), kNdxCreate);
    for (std::int32_t e = 0; e < kKeys; ++e) AddKey(handle, keys[e], e + 1, 0);
  }
  std::vector<std::string> keys;
  std::int16_t handle = -1;
};

MillionKeys& million() {
  static MillionKeys index;
  return index;
}

void BM_AddKey(benchmark::State& state) {
  MillionKeys& index = million();
  static std::uint32_t round = 0;
  static std::int32_t entry = kKeys;
  const std::vector<std::string> added = RandomKeys(kUpkeepCalls, 100 + round++);
  std::int64_t failures = 0;
  std::size_t i = 0;
  std::int32_t found = 0;
  // AddKey holds a key back until the next call on the index; the GetKey that follows files it, so
  // the time is that of filing one key plus one GetKey.
  for (auto _ : state) {
    failures += AddKey(index.handle, added[i], ++entry, 0) != kNdxOk;
    failures += GetKey(index.handle, added[i++], found) != kNdxOk;
  }
  if (failures != 0) state.SkipWithError("AddKey failed");
}
BENCHMARK(BM_AddKey)
    ->Iterations(kUpkeepCalls)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_DeleteKey(benchmark::State& state) {
  MillionKeys& index = million();
  static std::vector<std::int32_t> order = [] {
    std::vector<std::int32_t> entries(kKeys);
    for (std::int32_t e = 0; e < kKeys; ++e) entries[e] = e;
    std::shuffle(entries.begin(), entries.end(), std::mt19937(3));
    return entries;
  }();
  static std::size_t next = 0;  // each key is deleted once over all repetitions
  std::int64_t failures = 0;
  for (auto _ : state) {
    const std::int32_t e = order[next++ % order.size()];
    failures += DeleteKey(index.handle, index.keys[e], e + 1) != kNdxOk;
  }
  if (failures != 0) state.SkipWithError("DeleteKey did not find a key");
}
BENCHMARK(BM_DeleteKey)
    ->Iterations(kUpkeepCalls)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_GetKey(benchmark::State& state) {
  MillionKeys& index = million();
  std::mt19937 random(4);
  std::int32_t entry = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetKey(index.handle, index.keys[random() % kKeys], entry));
  }
}
BENCHMARK(BM_GetKey)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// A build in file order: random keys with ascending sequence numbers, closed at the end.
void BM_BulkBuild(benchmark::State& state) {
  const std::vector<std::string> keys = RandomKeys(kKeys, 5);
  for (auto _ : state) {
    std::int16_t handle = -1;
    OpenNDX(handle, scratch().PathOf("BUILD.WDX"), kNdxCreate);
    for (std::int32_t e = 1; e <= kKeys; ++e) AddKey(handle, keys[e - 1], e, e);
    if (CloseNDX(handle) != kNdxOk) state.SkipWithError("the build could not be closed");
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_BulkBuild)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrk::lib
