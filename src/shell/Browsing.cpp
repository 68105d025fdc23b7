#include "shell/Browsing.h"

#include <optional>

#include "catalog/EntryFile.h"
#include "platform/LongOperation.h"
#include "search/Walks.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"

namespace vrk {
namespace {

void EndOfList(Program& program, const char* text) {
  program.ui.Beep();
  program.ui.Message(text);
}

// Reads entry n and makes it current.
void MoveTo(Program& program, EntryNumber n) {
  EntryRecord record;
  if (ReadEntry(program, record, program.header, n, program.entryFile)) MakeCurrent(program, n, record);
}

// What Next and Previous say at the end (start) of each kind's list, and whether a beep comes first.
struct ListEnd {
  const char* text;
  bool beep;
};

ListEnd EndOfListFor(ListKind kind, int direction) {
  const bool next = direction > 0;
  switch (kind) {
    case kSequentialSearch: return {"No Match Found", next};
    case kAlphabeticalSearch:
    case kAlphabeticalList: return {next ? "You are at the end." : "You are at the beginning.", true};
    case kGlobalSearch: return {"No matches found.", true};
    case kRangeList: return {next ? "End of Current List" : "Start of Current List", true};
    default: return {next ? "No More Deleted Records" : "Start of Current List", true};
  }
}

// Next and Previous in the list of a search or listing: the kind's walk from the current entry.
void StepThroughList(Program& program, int direction) {
  const ListKind kind = program.listKind;
  if (kind < kSequentialSearch || kind > kDeletedList) return;
  // The walks that may read many entries before they find a member show the busy pointer.
  const bool busy = kind != kRangeList && kind != kAlphabeticalList;
  std::optional<LongOperation> walking;
  if (busy) walking.emplace(program.ui, LongOperationParts{.busy = true});
  SearchContext context = program.Search();
  ListWalk walk(context, kind, WalkUse::kBrowse);
  EntryRecord entry = program.currentEntry;
  const EntryNumber from = program.currentEntryNumber;
  const EntryNumber n = direction > 0 ? walk.Next(from, entry) : walk.Previous(from, entry);
  walking.reset();
  if (n > 0) {
    MakeCurrent(program, n, entry);
  } else if (walk.End() == WalkEnd::kDone) {  // a failed read has said so
    const ListEnd end = EndOfListFor(kind, direction);
    if (end.beep) program.ui.Beep();
    program.ui.Message(end.text);
  }
}

}  // namespace

void MakeCurrent(Program& program, EntryNumber n, const EntryRecord& record) {
  if (n == 0 || n == program.currentEntryNumber) return;
  program.currentEntry = record;
  program.currentEntryNumber = n;
  ShowEntry(program, record);
  program.screen.SetPanel(Panel::Entry, EntryPanelText(n));
}

void NextEntry(Program& program) {
  switch (program.listKind) {
    case kBrowseEntries:
    case kMakeEntries:
      if (program.currentEntryNumber + 1 > program.header.Count()) {
        EndOfList(program, "End of List");
        return;
      }
      MoveTo(program, program.currentEntryNumber + 1);
      break;
    default: StepThroughList(program, 1); break;
  }
  program.screen.RefreshStatusBar();
}

void PreviousEntry(Program& program) {
  switch (program.listKind) {
    case kBrowseEntries:
    case kMakeEntries:
      if (program.currentEntryNumber == 1) {
        EndOfList(program, "Start of List");
        return;
      }
      if (program.listKind == kMakeEntries) {
        program.listKind = kBrowseEntries;
        program.screen.SetPanel(Panel::SearchMode, "Edit");
      }
      MoveTo(program, program.currentEntryNumber - 1);
      break;
    default: StepThroughList(program, -1); break;
  }
}

void SelectNumber(Program& program) {
  const EntryNumber n = AskEntryNumber(program, "Select Number", "Enter the number of the entry you wish to display.");
  if (n == 0) return;
  GoToEntry(program, n);
}

void GoToEntry(Program& program, EntryNumber n) {
  EntryRecord record;
  if (!ReadEntry(program, record, program.header, n, program.entryFile)) return;  // the screen stays as it was
  program.currentEntryNumber = n;
  program.currentEntry = record;
  ShowEntry(program, program.currentEntry);
  program.screen.SetPanel(Panel::Entry, EntryPanelText(n));
  program.screen.SetPanel(Panel::SearchMode, "Edit");
}

}  // namespace vrk
