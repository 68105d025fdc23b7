// Export and import of a dBase III table of 1,000,000 records with five fields, through the catalog's
// own files in a temporary directory.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "QuietUi.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "dbase/DbfExport.h"
#include "dbase/DbfImport.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

constexpr EntryNumber kRecords = 1'000'000;

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "vrkbenchXXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

CatalogLayout FiveFields() {
  CatalogLayout layout;
  const struct {
    const char* name;
    short length;
  } fields[] = {{"Title", 30}, {"Author", 25}, {"Year", 4}, {"Price", 8}, {"Shelf", 6}};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    layout.fields[i].Name = PadFieldName(fields[i].name);
    layout.lengths[i] = fields[i].length;
  }
  return layout;
}

// Makes the current catalog BOOKS with kRecords entries.
bool MakeCatalog(CatalogStore& store, const std::string& directory) {
  if (!CreateNewCatalog(store, directory, "BOOKS", FiveFields())) return false;
  store.catalogDirectory = directory;
  store.catalogName = "BOOKS";
  store.entryFile = OpenCatalog(store, directory, "BOOKS", CatalogAccess::kChange);
  if (store.entryFile == 0) return false;
  BufferedFile& file = *store.files.Get(store.entryFile);
  file.BeginBatch();
  EntryRecord entry = BlankEntry(store.header);
  entry.Status = kStatusActive;
  for (EntryNumber n = 1; n <= kRecords; ++n) {
    const std::string number = std::to_string(n);
    entry.Field[0].replace(0, number.size(), number);
    entry.Field[1].replace(0, 6, "Author");
    entry.Field[2].replace(0, 4, "1999");
    entry.Field[3].replace(0, number.size() > 8 ? 8 : number.size(), number);
    if (!WriteEntry(store, entry, store.header, n, store.entryFile)) return false;
  }
  if (!file.EndBatch()) return false;
  store.header.EntryCount = static_cast<float>(kRecords);
  return WriteHeader(store, store.entryFile, store.header);
}

void ExportMillion(benchmark::State& state) {
  ScratchDirectory directory;
  QuietUi ui;
  CatalogStore store(ui);
  if (!MakeCatalog(store, directory.path())) {
    state.SkipWithError("the catalog could not be made");
    return;
  }
  for (auto _ : state) {
    DbfEngine engine;
    if (ExportEntries(store, engine, directory.path() + "/OUT.DBF", 1, kRecords) != kRecords || ui.messages != 0) {
      state.SkipWithError("the export failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void ImportMillion(benchmark::State& state) {
  ScratchDirectory directory;
  QuietUi ui;
  CatalogStore store(ui);
  DbfEngine engine;
  const std::string table = directory.path() + "/BOOKS.DBF";
  if (!MakeCatalog(store, directory.path()) || ExportEntries(store, engine, table, 1, kRecords) != kRecords) {
    state.SkipWithError("the table could not be made");
    return;
  }
  for (auto _ : state) {
    ui.messages = 0;
    if (!ImportDBF(store, engine, table, "IMPORTED", directory.path()) || ui.messages != 1) {
      state.SkipWithError("the import failed");
      return;
    }
    state.PauseTiming();
    fs::remove(directory.path() + "/IMPORTED.DAT");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(ExportMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ImportMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vrk
