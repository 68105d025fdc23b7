// Undo and Redo: every change the desktop makes to entries can be taken back, in order, for as long
// as the catalog stays open. A step is one command's changes (a Search and Replace run, a Copy Entries
// or a table Delete of many rows is one step); undoing it writes back the images the entries had
// before, redoing it the images they had after, through the same crash-safe entry writes and key
// upkeep as every other change. Switching catalogs and the commands that rewrite the current catalog
// as a whole (Eliminate Deleted, Sort, an Edit Catalog of it) clear the history; an import makes
// another catalog and leaves it.
#pragma once

#include <string>
#include <vector>

#include "catalog/EntryChange.h"

namespace vrk {

struct Program;

struct UndoStep {
  std::string what;  // "Replace in 1,204 entries": the menu item says "Undo " and this
  EntryChanges changes;
  std::size_t bytes = 0;  // the memory its images take, about
};

// The memory the history may take: beyond it the oldest steps are forgotten, so that a long session of
// large Replace runs does not fill the machine. The newest step is always kept.
inline constexpr std::size_t kHistoryBytes = std::size_t{128} << 20;

struct UndoHistory {
  std::vector<UndoStep> undo;  // the newest last
  std::vector<UndoStep> redo;  // the step undone last at the end
  std::size_t most = kHistoryBytes;
};

// Records a step done; a new step forgets what was undone before it, and the oldest steps beyond the
// history's memory. Nothing for no changes.
void RecordStep(Program& program, std::string what, EntryChanges changes);
// One entry's change as one step.
void RecordChange(Program& program, std::string what, EntryNumber n, const EntryRecord& before,
                  const EntryRecord& after);
// The entries added after entry `last` (Copy Entries into the current catalog) as one step, named by
// their count: undone, they are deleted again. Nothing when none was added.
void RecordNewEntries(Program& program, const std::string& what, EntryNumber last);
// A memo change of the current entry as one step; none while a new entry is made (its memo is
// stored with the entry's Save).
void RecordMemoChange(Program& program, std::string what, const EntryImage& before, const EntryImage& after);
void ClearHistory(Program& program);
// "What in 1,204 entries" (one entry: "What").
std::string StepName(const std::string& what, std::size_t entries);

// The Edit menu's items: "U&ndo Save" and "Red&o Save", or "U&ndo" and "Red&o" with nothing to do.
std::string UndoCaption(const Program& program);
std::string RedoCaption(const Program& program);
// Edit > Undo and Edit > Redo. One entry's step shows the entry afterwards, a step of many an
// erased screen. False after a message when something could not be written; the step then stays
// where it was, to be tried again (its images are written whole, so a second try finishes it).
bool UndoCommand(Program& program);
bool RedoCommand(Program& program);

}  // namespace vrk
