#include "shell/Searching.h"

#include <exception>
#include <functional>
#include <optional>

#include "platform/LongOperation.h"
#include "search/OutputRun.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"

namespace vrk {
namespace {

// Where a run's members go: the output given, or the report destination's; none for the main window.
struct Destination {
  std::unique_ptr<EntryOutput> owned;
  EntryOutput* output = nullptr;
};

const char* DestinationName(ReportDestination destination) {
  switch (destination) {
    case ReportDestination::kPrinter: return "PRINTER";
    case ReportDestination::kQuickView: return "QUICK VIEW";
    default: return "ASCII FILE";
  }
}

Destination DestinationFor(Program& program, SearchContext& context, EntryOutput* given) {
  Destination destination;
  destination.output = given;
  const ReportDestination chosen = program.report.destination;
  if (given || chosen == ReportDestination::kMainWindow) return destination;
  destination.owned = MakeEntryOutput(context, chosen);
  destination.output = destination.owned.get();
  // An output this program cannot make yet never pretends to work: the main window stands in.
  if (!destination.output) {
    program.screen.SetPanel(Panel::RptDest, std::string(DestinationName(chosen)) + " NOT AVAILABLE: MAIN WINDOW");
  }
  return destination;
}

// A run's walk shows the busy pointer and the gauge, the main window's commands disabled, until it ends.
void BeginWalk(Program& program, std::optional<LongOperation>& walking, double total, const char* message) {
  program.ui.DoEvents();
  walking.emplace(program.ui, LongOperationParts{.busy = true, .windowDisabled = true, .gauge = Gauge{total, message}});
}

// Starts the output with the normal pointer: it may ask for a title or a file.
bool StartOutput(Program& program, std::optional<LongOperation>& walking, EntryOutput& output) {
  if (walking) walking->ReleasePointer();
  const bool started = output.Start();
  program.ui.DoEvents();
  return started;
}

// The first member on the main window, which now follows the list of `kind`.
void ShowFirstMember(Program& program, EntryNumber n, const EntryRecord& entry, ListKind kind, const char* mode) {
  program.currentEntryNumber = n;
  program.currentEntry = entry;
  ShowEntry(program, entry);
  program.screen.SetPanel(Panel::Entry, EntryPanelText(n));
  program.listKind = kind;
  program.screen.SetPanel(Panel::SearchMode, mode);
}

// Starts the output once the first member is known (it may ask for a title or a file), sends the
// members and finishes the output. False when the output did not start.
bool StartAndSend(Program& program, std::optional<LongOperation>& walking, ListWalk& walk, EntryOutput& output,
                  EntryNumber first, EntryRecord& entry, EntryNumber& sent) {
  const bool started = StartOutput(program, walking, output);
  walking->HoldPointer();
  RunCount count;
  if (started) count = SendMembers(walk, output, first, entry);
  walking.reset();
  // The walk is over: Quick View's edits open the same index for a change while its window is up.
  CloseBrowseIndex(program);
  if (started && !count.failed) output.Finish(count.sent);
  sent = count.sent;
  return started;
}

// Any fault of an output that escapes it ends the run (its walk has ended on the way out) with "Printer
// Error." and an erased screen.
EntryNumber Guarded(Program& program, const std::function<EntryNumber()>& run) {
  try {
    return run();
  } catch (const std::exception&) {
    program.ui.Message("Printer Error.");
    EraseScreen(program);
    return 0;
  }
}

// The runs that prepare their output before they walk and send from the first member on: List
// Range, Find Deleted and Global Search.
struct PreparedRun {
  ListKind kind;
  const char* gaugeMessage;
  const char* mode;       // the "SearchMode" panel of the list on the main window
  const char* none;       // said with a beep when nothing was sent; null when a run always sends
  bool gaugeBeforeStart;  // List Range opens the gauge before it prepares the output
};

EntryNumber RunPrepared(Program& program, EntryOutput* given, const PreparedRun& run, double total) {
  program.totals.fill(0);
  SearchContext context = program.Search();
  Destination destination = DestinationFor(program, context, given);
  EntryOutput* output = destination.output;
  std::optional<LongOperation> walking;
  if (run.gaugeBeforeStart) BeginWalk(program, walking, total, run.gaugeMessage);
  if (output && !StartOutput(program, walking, *output)) return 0;
  if (!run.gaugeBeforeStart) BeginWalk(program, walking, total, run.gaugeMessage);
  walking->HoldPointer();
  ListWalk walk(context, run.kind, output ? WalkUse::kOutput : WalkUse::kMainWindow);
  EntryRecord entry;
  const EntryNumber first = walk.First(entry);
  if (!output && first > 0) {
    ShowFirstMember(program, first, entry, run.kind, run.mode);
    walking.reset();
    return 1;
  }
  const RunCount count = output && first > 0 ? SendMembers(walk, *output, first, entry) : RunCount{};
  walking.reset();
  if (!count.failed) {
    if (count.sent == 0 && run.none) {
      program.ui.Beep();
      program.ui.Message(run.none);
    }
    if (output) output->Finish(count.sent);
  }
  EraseScreen(program);
  return count.sent;
}

}  // namespace

EntryNumber SearchRun(Program& program, EntryOutput* given) {
  return Guarded(program, [&] {
    const bool sequential = program.search.mode == SearchMode::kSequential;
    const ListKind kind = sequential ? kSequentialSearch : kAlphabeticalSearch;
    EraseScreen(program);
    program.ui.DoEvents();
    program.totals.fill(0);
    SearchContext context = program.Search();
    Destination destination = DestinationFor(program, context, given);
    std::optional<LongOperation> walking;
    BeginWalk(program, walking, static_cast<double>(program.header.Count()), "Searching....");
    ListWalk walk(context, kind, destination.output ? WalkUse::kOutput : WalkUse::kMainWindow);
    EntryRecord entry;
    const EntryNumber first = walk.First(entry);
    if (first == 0) {
      CloseBrowseIndex(program);
      walking.reset();
      // An index that could not be opened has said so.
      if (walk.End() != WalkEnd::kFailed) program.ui.Message(sequential ? kNoSequentialMatches : kNoMatchesFound);
      return EntryNumber{0};
    }
    if (!destination.output) {
      // The browse index and the starting and ending points stay: Next and Previous go on with them.
      ShowFirstMember(program, first, entry, kind, sequential ? "Seq Search" : "Alpha Search");
      walking.reset();
      return EntryNumber{1};
    }
    EntryNumber sent = 0;
    StartAndSend(program, walking, walk, *destination.output, first, entry, sent);
    program.search.startingPoint.Clear();
    program.search.endingPoint.Clear();
    EraseScreen(program);
    return sent;
  });
}

EntryNumber ListAlphabeticallyRun(Program& program, EntryOutput* given) {
  return Guarded(program, [&] {
    EraseScreen(program);
    program.totals.fill(0);
    SearchContext context = program.Search();
    Destination destination = DestinationFor(program, context, given);
    ListWalk walk(context, kAlphabeticalList, destination.output ? WalkUse::kOutput : WalkUse::kMainWindow);
    EntryRecord entry;
    const EntryNumber first = walk.First(entry);
    if (first == 0) {
      CloseBrowseIndex(program);
      program.ui.ClearBusy();
      if (walk.End() != WalkEnd::kFailed) program.ui.Message(kNoMatchesFound);
      return EntryNumber{0};
    }
    if (!destination.output) {
      ShowFirstMember(program, first, entry, kAlphabeticalList, "Alpha List");
      return EntryNumber{1};
    }
    std::optional<LongOperation> walking;
    BeginWalk(program, walking, static_cast<double>(program.header.Count()), "Listing Alphabetically....");
    EntryNumber sent = 0;
    if (!StartAndSend(program, walking, walk, *destination.output, first, entry, sent)) {
      // Without a title or a file nothing ran: the starting and ending points stay for the next try.
      CloseBrowseIndex(program);
      return sent;
    }
    program.search.startingPoint.Clear();
    program.search.endingPoint.Clear();
    EraseScreen(program);
    return sent;
  });
}

EntryNumber ListRangeRun(Program& program, EntryOutput* given) {
  const ListRange range = program.search.range;
  return Guarded(program, [&] {
    return RunPrepared(program, given, {kRangeList, "Listing Entries....", "Seq List", nullptr, true},
                       static_cast<double>(range.end - range.start + 1));
  });
}

EntryNumber FindDeleted(Program& program, EntryOutput* given) {
  return Guarded(program, [&] {
    return RunPrepared(program, given,
                       {kDeletedList, "Finding Deleted Entries....", "Find Deleted", kNoDeletedFound, false},
                       static_cast<double>(program.header.Count()));
  });
}

EntryNumber GlobalSearchRun(Program& program, EntryOutput* given) {
  return Guarded(program, [&] {
    return RunPrepared(program, given,
                       {kGlobalSearch, "Searching Globally....", "Global Search", kNoMatchesFound, false},
                       static_cast<double>(program.header.Count()));
  });
}

}  // namespace vrk
