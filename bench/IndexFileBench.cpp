// Index file calls one at a time on an index of 1,500,000 keys (more than 2^20), keys taken from the
// record collection's artists: AddKey with the filing that the next call does, DeleteKey and GetKey,
// each timed per call (p50, p99 and max in microseconds), and a bulk build in file order of as many
// keys. See bench/README.md.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "BenchData.h"
#include "support/IndexFile.h"
#include "support/IndexStore.h"

namespace vrk::lib {
namespace {

using bench::Latencies;
using bench::Require;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kKeys = 1'500'000;
constexpr std::int64_t kUpkeepCalls = 20'000;

double Microseconds(Clock::time_point from) {
  return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

std::vector<std::string> ArtistKeys(std::size_t count, std::uint32_t seed) {
  bench::RowSource rows(seed);
  std::vector<std::string> keys(count);
  for (std::string& key : keys) key = rows.Next().artist;
  return keys;
}

bench::Scratch& scratch() {
  static bench::Scratch s("index");
  return s;
}

// The index the upkeep and lookup benchmarks share, built on first use and kept open.
struct BigIndex {
  BigIndex() : keys(ArtistKeys(kKeys, 1)) {
    Require(OpenNDX(indexes, handle, scratch().PathOf("BIG.WDX"), kNdxCreate) == kNdxOk, "create the index");
    for (std::int32_t e = 0; e < kKeys; ++e) Require(AddKey(indexes, handle, keys[e], e + 1, 0) == kNdxOk, "add a key");
    Require(CloseNDX(indexes, handle) == kNdxOk, "close the index");
    Require(OpenNDX(indexes, handle, scratch().PathOf("BIG.WDX"), kNdxOpen) == kNdxOk, "open the index");
  }
  std::vector<std::string> keys;
  Indexes indexes;
  std::int16_t handle = -1;
};

BigIndex& big() {
  static BigIndex index;
  return index;
}

void BM_AddKeyAndFile(benchmark::State& state) {
  BigIndex& index = big();
  const std::vector<std::string> added = ArtistKeys(kUpkeepCalls, 100);
  static std::int32_t entry = kKeys;
  Latencies latencies;
  std::size_t i = 0;
  std::int32_t found = 0;
  // AddKey holds a key back until the next call on the index: the GetKey after it files the key.
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const bool ok = AddKey(index.indexes, index.handle, added[i], ++entry, 0) == kNdxOk &&
                    GetKey(index.indexes, index.handle, added[i], found) == kNdxOk;
    latencies.Add(Microseconds(start));
    if (!ok) state.SkipWithError("AddKey failed");
    ++i;
  }
  latencies.Report(state);
}
BENCHMARK(BM_AddKeyAndFile)->Iterations(kUpkeepCalls)->Unit(benchmark::kMicrosecond);

void BM_DeleteKey(benchmark::State& state) {
  BigIndex& index = big();
  std::vector<std::int32_t> order(kKeys);
  for (std::int32_t e = 0; e < kKeys; ++e) order[e] = e;
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  Latencies latencies;
  std::size_t next = 0;
  for (auto _ : state) {
    const std::int32_t e = order[next++];
    const Clock::time_point start = Clock::now();
    const bool ok = DeleteKey(index.indexes, index.handle, index.keys[e], e + 1) == kNdxOk;
    latencies.Add(Microseconds(start));
    if (!ok) state.SkipWithError("DeleteKey did not find a key");
  }
  latencies.Report(state);
}
BENCHMARK(BM_DeleteKey)->Iterations(kUpkeepCalls)->Unit(benchmark::kMicrosecond);

void BM_GetKey(benchmark::State& state) {
  BigIndex& index = big();
  std::mt19937 random(4);
  Latencies latencies;
  std::int32_t entry = 0;
  for (auto _ : state) {
    const std::string& key = index.keys[random() % kKeys];
    const Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(GetKey(index.indexes, index.handle, key, entry));
    latencies.Add(Microseconds(start));
  }
  latencies.Report(state);
}
BENCHMARK(BM_GetKey)->Iterations(100'000)->Unit(benchmark::kMicrosecond);

// A build in file order, as the sort makes: keys with ascending sequence numbers, closed at the end.
void BM_BulkBuild(benchmark::State& state) {
  const std::vector<std::string> keys = ArtistKeys(kKeys, 5);
  Indexes indexes;
  for (auto _ : state) {
    std::int16_t handle = -1;
    Require(OpenNDX(indexes, handle, scratch().PathOf("BUILD.WDX"), kNdxCreate) == kNdxOk, "create the index");
    for (std::int32_t e = 1; e <= kKeys; ++e) {
      if (AddKey(indexes, handle, keys[e - 1], e, e) != kNdxOk) state.SkipWithError("a key was refused");
    }
    if (CloseNDX(indexes, handle) != kNdxOk) state.SkipWithError("the build could not be closed");
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_BulkBuild)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrk::lib
