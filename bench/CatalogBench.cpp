// The large-catalog passes: reading every entry of a 1,000,000-entry catalog in entry order, and
// rebuilding its three key indexes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "QuietUi.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "index/Rebuild.h"

namespace vrk {
namespace {

constexpr EntryNumber kEntries = 1'000'000;

// The benchmark's set-up must work, or its figures mean nothing.
void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
  std::exit(1);
}

std::string RandomWord(std::mt19937& random, std::size_t length) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz ";
  std::string word(length, ' ');
  for (char& c : word) c = kLetters[random() % 27];
  word[0] = static_cast<char>('A' + random() % 26);
  return word;
}

// The catalog BIG with a million entries, made once per run.
struct BigCatalog {
  QuietUi ui;
  CatalogStore store{ui};
  std::filesystem::path directory = std::filesystem::temp_directory_path() / "vrk-bench-catalog";

  BigCatalog() {
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    store.catalogDirectory = directory.string();
    store.catalogName = "BIG";
    CatalogLayout layout;
    const short lengths[] = {30, 20, 15, 4, 8};
    const short types[] = {kKeyField, kKeyField, kKeyField, kPlainField, kSumField};
    for (std::size_t i = 0; i < 5; ++i) {
      layout.fields[i] = {PadFieldName("Field " + std::to_string(i + 1)), types[i]};
      layout.lengths[i] = lengths[i];
    }
    Require(CreateNewCatalog(store, store.catalogDirectory, "BIG", layout), "create the catalog");
    store.entryFile = OpenCatalog(store, store.catalogDirectory, "BIG", CatalogAccess::kChange);
    std::mt19937 random(7);
    BufferedFile* file = store.files.Get(store.entryFile);
    file->BeginBatch();
    EntryRecord record = BlankEntry(store.header);
    record.Status = kStatusActive;
    for (EntryNumber n = 1; n <= kEntries; ++n) {
      for (std::size_t i = 0; i < 3; ++i) record.Field[i] = RandomWord(random, static_cast<std::size_t>(lengths[i]));
      record.Field[3] = std::to_string(1900 + random() % 120);
      record.Field[4] = std::to_string(random() % 10000) + ".99";
      Require(WriteEntry(store, record, store.header, n, store.entryFile), "write an entry");
    }
    Require(file->EndBatch(), "write the entries");
    store.header.EntryCount = static_cast<float>(kEntries);
    Require(WriteHeader(store, store.entryFile, store.header), "write the header");
  }
  ~BigCatalog() {
    (void)store.files.Close(store.entryFile);
    std::filesystem::remove_all(directory);
  }
};

BigCatalog& Catalog() {
  static BigCatalog catalog;
  return catalog;
}

void BM_ReadEveryEntry(benchmark::State& state) {
  BigCatalog& big = Catalog();
  EntryRecord record;
  for (auto _ : state) {
    for (EntryNumber n = 1; n <= kEntries; ++n) {
      Require(ReadEntry(big.store, record, big.store.header, n, big.store.entryFile), "read an entry");
    }
    benchmark::DoNotOptimize(record);
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_ReadEveryEntry)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReIndexThreeKeys(benchmark::State& state) {
  BigCatalog& big = Catalog();
  for (auto _ : state) Require(ReIndex(big.store), "rebuild the indexes");
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_ReIndexThreeKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vrk
