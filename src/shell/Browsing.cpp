#include "shell/Browsing.h"

#include "catalog/EntryFile.h"
#include "platform/Ui.h"
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
    default:  // the lists of searches and listings follow their own kinds
      return;
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
    default: break;
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
