#include "shell/Editing.h"

#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "index/KeyIndexChange.h"
#include "platform/Ui.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/PictureSound.h"
#include "shell/UndoHistory.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

// Reads the entry before the current one for the copy commands; false on entry 1.
bool ReadPreviousEntry(Program& program, EntryRecord& record) {
  if (program.currentEntryNumber == 1) return false;
  return ReadEntry(program, record, program.header, program.currentEntryNumber - 1, program.entryFile);
}

void FocusFirstUsedBox(Program& program) {
  for (int i = 0; i < kFieldCount - 1; ++i) {
    if (program.header.FieldLength[static_cast<std::size_t>(i)] > 0) {
      program.screen.FocusBox(i);
      return;
    }
  }
}

// The record a new entry starts from: blank fields; a memo written before the first save stays.
EntryRecord NewEntryRecord(const Program& program) {
  EntryRecord record = BlankEntry(program.header);
  record.MemoNumber = program.currentEntry.MemoNumber;
  return record;
}

}  // namespace

bool MayChangeEntries(Program& program) {
  if (program.MayChange()) return true;
  program.ui.Message(program.catalogName + " is opened for reading only.", Icon::Exclamation);
  return false;
}

EntryNumber TypedEntryNumber(const std::string& text, EntryNumber count) {
  const double n = FieldNumber(text);
  return n >= 1 && n <= static_cast<double>(count) ? static_cast<EntryNumber>(n) : 0;
}

EntryNumber AskEntryNumber(Program& program, const std::string& caption, const std::string& question) {
  const auto typed = program.ui.AskNumber({.caption = caption, .question = question});
  if (!typed) return 0;
  const EntryNumber n = TypedEntryNumber(*typed, program.header.Count());
  if (n == 0) program.ui.Message("Entry number is out of range.");
  return n;
}

void CopyScreenToRecord(Program& program, EntryRecord& record) {
  for (int i = 0; i < kFieldCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const auto length = static_cast<std::size_t>(program.header.FieldLength[index]);
    if (length == 0 || program.formulaTable[index].Valid) continue;
    std::string text = program.screen.BoxText(i).substr(0, length);
    text.resize(length, ' ');
    record.Field[index] = text;
  }
}

bool SaveEntry(Program& program) {
  if (!MayChangeEntries(program)) return false;
  const EntryNumber n = program.currentEntryNumber;
  const bool existing = !program.NewEntryState();
  if (!existing && n > kMostEntries) {
    program.ui.Message("This catalog holds " + std::to_string(kMostEntries) +
                           " entries, the most a catalog can count. The entry was not saved.",
                       Icon::Exclamation);
    return false;
  }
  program.screen.ShowSavingWindow(n);
  KeyIndexChange change(program);
  if (!change.Open(existing ? KeyUpkeep::kChange : KeyUpkeep::kAppend)) {
    program.screen.CloseSavingWindow();
    return false;
  }
  const EntryRecord before = program.currentEntry;
  bool whole = !existing || DeleteEntryKeys(program, change.keys(), before, n);
  // A new entry starts blank: its computed fields are stored empty, whatever the entry shown before held.
  if (!existing) {
    program.currentEntry = NewEntryRecord(program);
    LinkAtSortedEnd(program, program.currentEntry, n);
  }
  CopyScreenToRecord(program, program.currentEntry);
  if (program.currentEntry.Status == kStatusDeleted) program.screen.SetPanel(Panel::Deleted, "");
  program.currentEntry.Status = kStatusActive;
  bool saved = WriteEntry(program, program.currentEntry, program.header, n, program.entryFile);
  if (saved) {
    whole = AddEntryKeys(program, change.keys(), program.currentEntry, n) && whole;
    if (!existing) {
      program.header.EntryCount += 1;
      if (!WriteHeader(program, program.entryFile, program.header)) {
        // The slot stays uncounted, so no entry was added; the keys just filed name none.
        program.header.EntryCount -= 1;
        saved = whole = false;
      } else {
        whole = JoinSortedEnd(program, n, n) && whole;
      }
    }
  }
  whole = change.Finish((saved || !existing) && whole);
  if (!saved) {
    // The entry stays as it was, and so does the screen, to be saved again.
    program.currentEntry = before;
    program.screen.SetPanel(Panel::Deleted, DeletedPanelText(before));
    program.screen.CloseSavingWindow();
    return false;
  }
  if (existing) {
    RecordChange(program, "Save", n, before, program.currentEntry);
  } else {
    RecordStep(program, "Save", {NewEntryChange(n, program.currentEntry)});
  }
  if (existing) {
    ShowEntry(program, program.currentEntry);
  } else {
    EraseScreen(program);
  }
  for (int i = 0; i < 100; ++i) program.ui.DoEvents();
  program.screen.CloseSavingWindow();
  FocusFirstUsedBox(program);
  return whole;
}

void EraseScreen(Program& program) {
  for (int i = 0; i < kFieldCount; ++i) program.screen.SetBoxText(i, "");
  program.currentEntryNumber = program.header.Count() + 1;
  program.screen.SetPanel(Panel::Entry, EntryPanelText(program.currentEntryNumber));
  program.screen.SetPanel(Panel::Deleted, "");
  program.screen.SetPanel(Panel::SearchMode, "Make Entries");
  program.listKind = kMakeEntries;
  CloseBrowseIndex(program);
  program.currentEntry.NextSorted = 0;
  program.currentEntry.PrevSorted = 0;
  program.currentEntry.MemoNumber = 0;
  ErasePictureAndSound(program);
}

namespace {

// The current entry's change, recorded as a step of its own or added to the caller's.
void NoteChange(Program& program, EntryChanges* changes, const std::string& what, const EntryRecord& before) {
  if (changes == nullptr) {
    RecordChange(program, what, program.currentEntryNumber, before, program.currentEntry);
  } else {
    changes->push_back({.number = program.currentEntryNumber,
                        .before = {.record = before},
                        .after = {.record = program.currentEntry}});
  }
}

bool DeleteNoting(Program& program, EntryChanges* changes) {
  // Deleting a deleted entry saves it as active again. An erased screen keeps the status of the entry
  // shown before it, but it is no entry to save: Delete must never add one.
  if (program.currentEntry.Status == kStatusDeleted && !program.NewEntryState()) return SaveEntry(program);
  if (!MayChangeEntries(program)) return false;
  KeyIndexChange change(program);
  if (!change.Open()) return false;
  const bool existing = !program.NewEntryState();
  const float status = program.currentEntry.Status;
  bool whole = !existing || DeleteEntryKeys(program, change.keys(), program.currentEntry, program.currentEntryNumber);
  program.currentEntry.Status = kStatusDeleted;
  program.screen.SetPanel(Panel::Deleted, "DELETED");
  const bool written =
      WriteEntry(program, program.currentEntry, program.header, program.currentEntryNumber, program.entryFile);
  if (!written) {
    program.currentEntry.Status = status;
    program.screen.SetPanel(Panel::Deleted, DeletedPanelText(program.currentEntry));
  } else if (existing) {
    EntryRecord before = program.currentEntry;
    before.Status = status;
    NoteChange(program, changes, "Delete", before);
  }
  return change.Finish((written || !existing) && whole) && written;
}

bool UndeleteNoting(Program& program, EntryChanges* changes) {
  if (program.currentEntry.Status != kStatusDeleted) return true;
  if (!MayChangeEntries(program)) return false;
  KeyIndexChange change(program);
  if (!change.Open()) return false;
  const bool existing = !program.NewEntryState();  // a slot that is not counted has no keys to file
  // A rebuild files keys for deleted entries too: any left are removed before the keys are filed once.
  bool whole = !existing || DeleteEntryKeys(program, change.keys(), program.currentEntry, program.currentEntryNumber);
  program.currentEntry.Status = kStatusActive;
  program.screen.SetPanel(Panel::Deleted, "");
  const bool written =
      WriteEntry(program, program.currentEntry, program.header, program.currentEntryNumber, program.entryFile);
  if (written) {
    whole =
        (!existing || AddEntryKeys(program, change.keys(), program.currentEntry, program.currentEntryNumber)) && whole;
    if (existing) {
      EntryRecord before = program.currentEntry;
      before.Status = kStatusDeleted;
      NoteChange(program, changes, "Undelete", before);
    }
  } else {
    program.currentEntry.Status = kStatusDeleted;
    program.screen.SetPanel(Panel::Deleted, DeletedPanelText(program.currentEntry));
  }
  return change.Finish((written || !existing) && whole) && written;
}

}  // namespace

bool DeleteEntry(Program& program) { return DeleteNoting(program, nullptr); }
bool UndeleteEntry(Program& program) { return UndeleteNoting(program, nullptr); }
bool DeleteEntryInStep(Program& program, EntryChanges& step) { return DeleteNoting(program, &step); }
bool UndeleteEntryInStep(Program& program, EntryChanges& step) { return UndeleteNoting(program, &step); }

void CopyLast(Program& program) {
  EntryRecord previous;
  if (ReadPreviousEntry(program, previous)) ShowEntry(program, previous);
}

void CopyAnyPrevious(Program& program) {
  const EntryNumber n = AskEntryNumber(program, "Copy Any Previous", "Enter the number of the entry you wish to copy.");
  EntryRecord copy;
  if (n != 0 && ReadEntry(program, copy, program.header, n, program.entryFile)) ShowEntry(program, copy);
}

void CopyFieldFromPrevious(Program& program) {
  EntryRecord previous;
  if (!ReadPreviousEntry(program, previous)) return;
  const auto field = static_cast<std::size_t>(program.currentField);
  program.screen.SetBoxText(program.currentField, RightTrim(previous.Field[field]));
}

void CloseBrowseIndex(Program& program) {
  if (program.browseHandle == kNoIndex) return;
  static_cast<void>(lib::CloseNDX(program.indexes, program.browseHandle));  // only read through: nothing to write
  program.browseHandle = kNoIndex;
}

}  // namespace vrk
