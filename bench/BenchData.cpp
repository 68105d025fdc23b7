#include "BenchData.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"

namespace vrk::bench {

namespace fs = std::filesystem;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
  std::exit(1);
}

RowSource::RowSource(std::uint32_t seed) : random_(seed) {
  // Words of one to three syllables; the list is the same whatever the seed.
  static const char* const kOnsets[] = {"b", "br", "c", "ch", "d", "dr", "f",  "g",  "gr", "h",  "j", "k", "l",
                                        "m", "n",  "p", "pr", "r", "s",  "sh", "st", "t",  "tr", "v", "w", "z"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "ai", "ea", "ou", "y"};
  static const char* const kCodas[] = {"", "", "n", "r", "s", "t", "l", "ck", "nd", "m"};
  std::mt19937 words(1);
  std::set<std::string> seen;
  while (words_.size() < 4000) {
    std::string word;
    for (unsigned s = 1 + words() % 3; s > 0; --s) {
      word += kOnsets[words() % std::size(kOnsets)];
      word += kVowels[words() % std::size(kVowels)];
    }
    word += kCodas[words() % std::size(kCodas)];
    if (word.size() > 12 || !seen.insert(word).second) continue;
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    words_.push_back(word);
  }
  // Zipf: the word of rank r is drawn with weight 1 / r.
  double sum = 0;
  for (std::size_t r = 1; r <= words_.size(); ++r) cumulative_.push_back(sum += 1.0 / static_cast<double>(r));
}

const std::string& RowSource::Word() {
  const double x = std::uniform_real_distribution<double>(0, cumulative_.back())(random_);
  const auto at = std::lower_bound(cumulative_.begin(), cumulative_.end(), x) - cumulative_.begin();
  return words_[std::min<std::size_t>(static_cast<std::size_t>(at), words_.size() - 1)];
}

std::string RowSource::Text(std::size_t words, std::size_t length) {
  std::string text;
  for (std::size_t w = 0; w < words; ++w) {
    const std::string& word = Word();
    if (!text.empty() && text.size() + 1 + word.size() > length) break;
    if (!text.empty()) text += ' ';
    text += word.substr(0, length);
  }
  return text;
}

Row RowSource::Next() {
  Row row;
  row.artist = Text(1 + random_() % 3, 30);
  row.title = Text(1 + random_() % 5, 30);
  row.label = Text(1 + random_() % 2, 20);
  row.year = std::to_string(1950 + random_() % 75);
  row.price = std::to_string(1 + random_() % 60) + "." + std::to_string(10 + random_() % 90);
  return row;
}

Scratch::Scratch(const std::string& name)
    : dir(fs::temp_directory_path() / ("vrk-bench-" + name + "-" + std::to_string(::getpid()))) {
  fs::remove_all(dir);
  fs::create_directories(dir);
}

Scratch::Scratch(std::filesystem::path kept, bool keep) : dir(std::move(kept)), keep(keep) {
  fs::remove_all(dir);
  fs::create_directories(dir);
}

Scratch::~Scratch() {
  std::error_code ec;
  if (!keep) fs::remove_all(dir, ec);
}

namespace {

Scratch CollectionScratch(std::int64_t count) {
  const char* kept = std::getenv("VRK_BENCH_KEEP");
  if (kept == nullptr || *kept == '\0') return Scratch("collection");
  return Scratch(fs::path(kept) / std::to_string(count), true);
}

}  // namespace

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "SQL failed: %s: %s\n", sql.c_str(), error != nullptr ? error : "");
    std::exit(1);
  }
}

Collection::Collection(std::int64_t count, bool withSqlite) : count(count), scratch(CollectionScratch(count)) {
  store.catalogDirectory = scratch.dir.string();
  store.catalogName = "MUSIC";
  CatalogLayout layout;
  const char* const names[] = {"Artist", "Title", "Label", "Year", "Price"};
  const short types[] = {kKeyField, kKeyField, kKeyField, kPlainField, kSumField};
  for (std::size_t i = 0; i < std::size(kLengths); ++i) {
    layout.fields[i] = {PadFieldName(names[i]), types[i]};
    layout.lengths[i] = kLengths[i];
  }
  Require(CreateNewCatalog(store, store.catalogDirectory, "MUSIC", layout), "create the catalog");
  store.entryFile = OpenCatalog(store, store.catalogDirectory, "MUSIC", CatalogAccess::kChange);
  Require(store.entryFile != 0, "open the catalog");

  sqlite3_stmt* insert = nullptr;
  if (withSqlite) {
    Require(sqlite3_open(scratch.PathOf("music.db").c_str(), &db) == SQLITE_OK, "open the SQLite database");
    Exec(db, "CREATE TABLE music(artist TEXT, title TEXT, label TEXT, year TEXT, price TEXT)");
    Exec(db, "BEGIN");
    Require(sqlite3_prepare_v2(db, "INSERT INTO music VALUES(?, ?, ?, ?, ?)", -1, &insert, nullptr) == SQLITE_OK,
            "prepare the insert");
  }
  RowSource rows;
  BufferedFile* file = store.files.Get(store.entryFile);
  file->BeginBatch();
  EntryRecord record = BlankEntry(store.header);
  record.Status = kStatusActive;
  for (std::int64_t n = 1; n <= count; ++n) {
    const Row row = rows.Next();
    const std::string* texts[] = {&row.artist, &row.title, &row.label, &row.year, &row.price};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
      record.Field[i] = *texts[i];
      record.Field[i].resize(static_cast<std::size_t>(kLengths[i]), ' ');
    }
    Require(WriteEntry(store, record, store.header, static_cast<EntryNumber>(n), store.entryFile), "write an entry");
    if (insert != nullptr) {
      for (int i = 0; i < 5; ++i) sqlite3_bind_text(insert, i + 1, texts[i]->c_str(), -1, SQLITE_STATIC);
      Require(sqlite3_step(insert) == SQLITE_DONE, "insert a row");
      sqlite3_reset(insert);
    }
  }
  Require(file->EndBatch(), "write the entries");
  store.header.EntryCount = static_cast<float>(count);
  Require(WriteHeader(store, store.entryFile, store.header), "write the header");
  Require(file->Sync(), "put the entries on the disk");
  if (insert != nullptr) {
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
  }
}

Collection::~Collection() {
  (void)store.files.Close(store.entryFile);
  if (db != nullptr) sqlite3_close(db);
}

Collection& CollectionOf(std::int64_t count, bool withSqlite) {
  static std::unique_ptr<Collection> collection;
  if (!collection || collection->count != count || (withSqlite && collection->db == nullptr)) {
    collection.reset();
    collection = std::make_unique<Collection>(count, withSqlite);
  }
  return *collection;
}

namespace {

std::int64_t StatusValue(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(name) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size()) * 1024;
  }
  return -1;
}

}  // namespace

void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
std::int64_t PeakMemory() { return StatusValue("VmHWM"); }
std::int64_t CurrentMemory() { return StatusValue("VmRSS"); }

void Latencies::Report(benchmark::State& state) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double q) {
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
  };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
  state.counters["max_us"] = samples.back();
  samples.clear();
}

bool LargeCases() {
  const char* large = std::getenv("VRK_BENCH_LARGE");
  return large != nullptr && std::string(large) == "1";
}

}  // namespace vrk::bench
