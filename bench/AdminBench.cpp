// The catalog administration passes on the collection of BenchData, each beside a ReIndex of the same
// catalog in the same run:
//
//   ReIndex      the three key indexes rebuilt, the yardstick of the others;
//   Sort3        a three-level sort (Artist, Title, Label): three level index builds and the chain;
//   EditRebuild  Edit Catalog lengthening Title from 30 to 32: every entry rebuilt into a new entry
//                file that replaces the old one, then the key indexes rebuilt;
//   Eliminate    Eliminate Deleted with every tenth entry deleted: the kept entries into a new entry
//                file, the catalog marked unsorted, the key indexes rebuilt.
//
// Each works on a fresh copy of the catalog (made outside the timing); the counter `x_ReIndex` is the
// time over the ReIndex time of the same run. See bench/README.md.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "BenchData.h"
#include "admin/EditCatalog.h"
#include "admin/EliminateDeleted.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "catalog/Layout.h"
#include "index/Rebuild.h"

namespace vrk::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMillion = 1'000'000;

// The collection's catalog with its indexes, copied once; each iteration works on a copy of that.
struct Template {
  explicit Template(std::int64_t count) : scratch("admin-template") {
    Collection& c = CollectionOf(count, false);
    Require(c.store.files.Get(c.store.entryFile)->Sync(), "put the collection on the disk");
    for (const char* file : {"MUSIC.DAT", "MUSIC.SET"}) fs::copy_file(c.scratch.dir / file, scratch.dir / file);
    QuietUi ui;
    CatalogStore store(ui);
    Require(Open(store, scratch.dir.string()), "open the copy");
    Require(ReIndex(store), "index the copy");
    Require(CloseCatalog(store, store.entryFile), "close the copy");
  }
  static bool Open(CatalogStore& store, const std::string& directory) {
    store.catalogDirectory = directory;
    store.catalogName = "MUSIC";
    store.entryFile = OpenCatalog(store, directory, "MUSIC", CatalogAccess::kChange);
    if (store.entryFile == 0) return false;
    ReadSettings(store, "MUSIC", store.settings);
    return true;
  }
  Scratch scratch;
};

Template& TemplateOf(std::int64_t count) {
  static std::unique_ptr<Template> made;
  if (!made) made = std::make_unique<Template>(count);
  return *made;
}

double reindexSeconds = 0;

// Runs `pass` on a fresh copy of the catalog per iteration; `prepare` changes the copy untimed.
// `messages` is what the pass says when all goes well.
void OnCopies(benchmark::State& state, const std::function<bool(CatalogStore&)>& pass,
              const std::function<void(CatalogStore&)>& prepare = {}, int messages = 0) {
  Template& source = TemplateOf(state.range(0));
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Scratch work("admin-work");
    for (const auto& file : fs::directory_iterator(source.scratch.dir)) {
      fs::copy_file(file.path(), work.dir / file.path().filename());
    }
    QuietUi ui;
    CatalogStore store(ui);
    Require(Template::Open(store, work.dir.string()), "open the copy");
    if (prepare) prepare(store);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    Require(pass(store), "run the pass");
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    Require(CloseCatalog(store, store.entryFile), "close the copy");
    Require(ui.messages == messages, "finish without a failure message");
    state.ResumeTiming();
  }
  seconds /= static_cast<double>(state.iterations());
  if (reindexSeconds == 0) reindexSeconds = seconds;
  state.counters["x_ReIndex"] = seconds / reindexSeconds;
  state.counters["ns_per_entry"] = seconds * 1e9 / static_cast<double>(state.range(0));
}

void ReIndexPass(benchmark::State& state) {
  OnCopies(state, [](CatalogStore& s) { return ReIndex(s); });
}

void Sort3Pass(benchmark::State& state) {
  OnCopies(state, [](CatalogStore& s) { return SortCatalog(s, {0, 1, 2}); });
}

void EditRebuildPass(benchmark::State& state) {
  OnCopies(
      state,
      [](CatalogStore& s) {
        CatalogLayout layout = LayoutOf(s);
        layout.lengths[1] = 32;
        return ChangeLayout(s, layout);
      },
      {}, 1);  // "Field lengths were changed. About to rebuild catalog."
}

void EliminatePass(benchmark::State& state) {
  OnCopies(
      state,
      [](CatalogStore& s) {
        const EntryNumber count = s.header.Count();
        return EliminateDeleted(s) == count / 10;
      },
      [](CatalogStore& s) {
        // Every tenth entry deleted, as the Delete command leaves it (its keys stay: a rebuild drops them).
        Require(VisitSlots(s, s.entryFile, s.header, 1, s.header.Count(), true,
                           [](EntryNumber n, char* slot) {
                             if (n % 10 == 0) PutSingle(slot, kStatusDeleted);
                             return true;
                           }),
                "delete every tenth entry");
      });
}

const bool registered = [] {
  const auto add = [](const char* name, void (*function)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name, function)
        ->Arg(kMillion)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2)
        ->UseRealTime();
  };
  // ReIndex first: the others are measured against it.
  add("Admin/ReIndex", ReIndexPass);
  add("Admin/Sort3", Sort3Pass);
  add("Admin/EditRebuild", EditRebuildPass);
  add("Admin/Eliminate", EliminatePass);
  return true;
}();

}  // namespace
}  // namespace vrk::bench
