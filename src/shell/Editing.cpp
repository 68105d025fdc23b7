#include "shell/Editing.h"

#include "catalog/Catalog.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "platform/Ui.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "support/Support.h"

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

}  // namespace

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

void SaveEntry(Program& program) {
  const EntryNumber n = program.currentEntryNumber;
  const bool existing = !program.NewEntryState();
  program.screen.ShowSavingWindow(n);
  KeyTable keys;
  OpenKeyIndexes(program, keys);
  if (existing) DeleteEntryKeys(program, keys, program.currentEntry, n);
  const EntryRecord before = program.currentEntry;
  CopyScreenToRecord(program, program.currentEntry);
  if (program.currentEntry.Status == kStatusDeleted) program.screen.SetPanel(Panel::Deleted, "");
  program.currentEntry.Status = kStatusActive;
  if (!WriteEntry(program, program.currentEntry, program.header, n, program.entryFile)) {
    // The disk refused the entry: it stays as it was, and so do its keys and the screen.
    if (existing) AddEntryKeys(program, keys, before, n);
    CloseKeyIndexes(program, keys);
    program.currentEntry = before;
    program.screen.CloseSavingWindow();
    return;
  }
  AddEntryKeys(program, keys, program.currentEntry, n);
  CloseKeyIndexes(program, keys);
  if (existing) {
    ShowEntry(program, program.currentEntry);
  } else {
    program.header.EntryCount += 1;
    WriteHeader(program, program.entryFile, program.header);
    EraseScreen(program);
  }
  for (int i = 0; i < 100; ++i) program.ui.DoEvents();
  program.screen.CloseSavingWindow();
  FocusFirstUsedBox(program);
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
}

void DeleteEntry(Program& program) {
  // Deleting a deleted entry saves it as active again. An erased screen keeps the status of the entry
  // shown before it, but it is no entry to save: Delete must never add one.
  if (program.currentEntry.Status == kStatusDeleted && !program.NewEntryState()) {
    SaveEntry(program);
    return;
  }
  program.currentEntry.Status = kStatusDeleted;
  program.screen.SetPanel(Panel::Deleted, "DELETED");
  KeyTable keys;
  OpenKeyIndexes(program, keys);
  if (!program.NewEntryState()) DeleteEntryKeys(program, keys, program.currentEntry, program.currentEntryNumber);
  CloseKeyIndexes(program, keys);
  WriteEntry(program, program.currentEntry, program.header, program.currentEntryNumber, program.entryFile);
}

void UndeleteEntry(Program& program) {
  if (program.currentEntry.Status != kStatusDeleted) return;
  program.currentEntry.Status = kStatusActive;
  program.screen.SetPanel(Panel::Deleted, "");
  if (!WriteEntry(program, program.currentEntry, program.header, program.currentEntryNumber, program.entryFile)) {
    program.currentEntry.Status = kStatusDeleted;
    program.screen.SetPanel(Panel::Deleted, "DELETED");
    return;
  }
  if (program.NewEntryState()) return;  // a slot that is not counted has no keys to file
  // A rebuild files keys for deleted entries too: remove any left before filing them once.
  KeyTable keys;
  OpenKeyIndexes(program, keys);
  DeleteEntryKeys(program, keys, program.currentEntry, program.currentEntryNumber);
  AddEntryKeys(program, keys, program.currentEntry, program.currentEntryNumber);
  CloseKeyIndexes(program, keys);
}

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
  lib::CloseNDX(program.browseHandle);
  program.browseHandle = kNoIndex;
}

}  // namespace vrk
