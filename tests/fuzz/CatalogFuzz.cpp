// libFuzzer: a catalog whose setup, entry and memo files are any bytes, searched, browsed and given
// memos as the program does. Input: the setup file's length and the entry file's length (4 bytes each,
// little-endian, taken modulo what is left), the setup file, the entry file, the memo file.
// Beyond the sanitizers' faults, a run that sends an entry more often than the catalog counts entries
// (a walk that comes round) or a memo file that grows beyond a record per entry and command aborts.
#include <filesystem>

#include "FuzzFiles.h"
#include "bench/QuietUi.h"
#include "catalog/Memo.h"
#include "platform/Printer.h"
#include "platform/Sound.h"
#include "search/Criteria.h"
#include "shell/Browsing.h"
#include "shell/Memos.h"
#include "shell/Searching.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"

namespace vrk {
namespace {

class CountingOutput : public EntryOutput {
 public:
  explicit CountingOutput(EntryNumber most) : most_(most) {}
  bool Start() override { return true; }
  Sent Send(EntryNumber, const EntryRecord&) override {
    if (++sent_ > most_) std::abort();  // the walk came round
    return Sent::kMore;
  }
  bool Finish(EntryNumber) override { return true; }

 private:
  EntryNumber most_;
  EntryNumber sent_ = 0;
};

std::uint32_t Length(const std::uint8_t* at) {
  return at[0] | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) | (std::uint32_t{at[3]} << 24);
}

void Exercise(Program& program) {
  const EntryNumber count = program.header.Count();
  const auto run = [&](EntryNumber (*command)(Program&, EntryOutput*)) {
    CountingOutput output(count);
    command(program, &output);
  };
  program.search.mode = SearchMode::kSequential;
  run(SearchRun);
  RebuildCriterionSet(program.search.criteria, program.header, {"a", "e"});
  run(SearchRun);
  program.search.globalText = "e";
  run(GlobalSearchRun);
  program.search.range = {1, count};
  run(ListRangeRun);
  // On the main window, then Next and Previous as far as they go.
  if (SearchRun(program) > 0) {
    for (EntryNumber i = 0; i <= count + 1; ++i) NextEntry(program);
    for (EntryNumber i = 0; i <= count + 1; ++i) PreviousEntry(program);
  }
  program.ui.dialogs.Register<MemoEditor>([](MemoEditor& editor) {
    editor.text = "fuzz";
    return true;
  });
  for (EntryNumber n = 1; n <= std::min<EntryNumber>(count, 3); ++n) {
    GoToEntry(program, n);
    (void)ReadMemo(program, program.currentEntry.MemoNumber);
    (void)MemoCommand(program);
    (void)RemoveMemoCommand(program);
  }
}

}  // namespace
}  // namespace vrk

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrk;
  if (size < 8) return 0;
  std::size_t rest = size - 8;
  const std::size_t setup = Length(data) % (rest + 1);
  rest -= setup;
  const std::size_t entries = Length(data + 4) % (rest + 1);
  const std::uint8_t* at = data + 8;
  const std::string& directory = fuzz::ScratchDirectory();
  for (const auto& file : std::filesystem::directory_iterator(directory)) std::filesystem::remove(file.path());
  fuzz::WriteInput("FUZZ.SET", at, setup);
  fuzz::WriteInput("FUZZ.DAT", at + setup, entries);
  const std::string memos = fuzz::WriteInput("FUZZ.MEM", at + setup + entries, rest - entries);
  const std::uintmax_t memoBytes = std::filesystem::file_size(memos);

  QuietUi ui;
  TextScreen screen;
  SilentSound sound;
  NoPrinter printer;
  Program program{{ui, screen, sound, printer}};
  SetProgramDirectory(program, directory);
  if (UseCatalog(program, directory, "FUZZ", CatalogAccess::kChange)) {
    Exercise(program);
    // At most one new record for each of the three entries given a memo.
    if (std::filesystem::file_size(memos) > memoBytes + 3 * kMemoLength) std::abort();
  }
  (void)ShutDown(program);
  return 0;
}
