// The editing commands of the entry screen: saving, erasing, deleting, undeleting and copying entries,
// with the key indexes kept in step on every change.
#pragma once

#include "catalog/EntryChange.h"
#include "shell/Program.h"

namespace vrk {

// The commands that change entries run only on a catalog that may be changed (the desktop disables
// them elsewhere): false, after saying so, on one opened for reading only or in the read-only state.
bool MayChangeEntries(Program& program);
// Copies the boxes of every used, non-computed field into the record, blank-padded to its length.
void CopyScreenToRecord(Program& program, EntryRecord& record);
// The changing commands return true when the change and every key index it touches were stored
// whole; false after a message. An entry the disk refused stays as it was; an index that could not
// follow is rebuilt before its next use.

// Writes the screen as the current entry (a new one under EntryCount + 1) and refiles its keys. The
// entry is on the disk before the indexes are marked whole.
bool SaveEntry(Program& program);
// Empties the screen for a new entry and returns to entry order.
void EraseScreen(Program& program);
bool DeleteEntry(Program& program);
// Makes a deleted entry active again and files its keys again, so it is back in alphabetical order.
bool UndeleteEntry(Program& program);
// Delete and Undelete record their change as an undo step of its own; these add it to `step`
// instead, for a caller that records the changes of many entries as one step.
bool DeleteEntryInStep(Program& program, EntryChanges& step);
bool UndeleteEntryInStep(Program& program, EntryChanges& step);
// Shows the previous entry's texts (Copy Last) or any entry's (Copy Any Previous) for saving under
// the current number.
void CopyLast(Program& program);
void CopyAnyPrevious(Program& program);
// Ctrl+F3: the focused box takes the previous entry's text of that field.
void CopyFieldFromPrevious(Program& program);
// Closes the index kept open for alphabetical browsing.
void CloseBrowseIndex(Program& program);

// Reads a number typed into the number prompt; 0 for anything that is not an entry number.
EntryNumber TypedEntryNumber(const std::string& text, EntryNumber count);
// Asks for an entry number with the number prompt; 0 when cancelled or out of range (which is said).
EntryNumber AskEntryNumber(Program& program, const std::string& caption, const std::string& question);

}  // namespace vrk
