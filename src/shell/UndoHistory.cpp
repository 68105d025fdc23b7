#include "shell/UndoHistory.h"

#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/Memo.h"
#include "index/KeyIndexChange.h"
#include "index/Rebuild.h"
#include "platform/Ui.h"
#include "shell/Browsing.h"
#include "shell/Editing.h"
#include "shell/Program.h"

namespace vrk {
namespace {

// Writes one entry's image over its slot as Save does: the keys of the slot as it stands are taken
// out, the image is written and, when it is not deleted, its keys are filed. A memo's text goes back
// into its record before the entry names it again (records are never reused, so it is still its own).
bool WriteImage(Program& program, const KeyTable& keys, EntryNumber n, const EntryImage& image) {
  EntryRecord onDisk;
  if (!ReadEntry(program, onDisk, program.header, n, program.entryFile)) return false;
  if (image.memo && image.record.MemoNumber >= 1) {
    EntryRecord named = image.record;
    if (!SaveMemo(program, named, n, *image.memo)) return false;
  }
  if (!DeleteEntryKeys(program, keys, onDisk, n)) return false;
  if (!WriteEntry(program, image.record, program.header, n, program.entryFile)) return false;
  return image.record.Status == kStatusDeleted || AddEntryKeys(program, keys, image.record, n);
}

// Writes the images a step's entries had before it (undo: last change first) or after it.
bool WriteImages(Program& program, const UndoStep& step, bool undo) {
  KeyIndexChange keys(program);
  if (!keys.Open()) return false;
  const std::size_t count = step.changes.size();
  bool agree = true;
  for (std::size_t i = 0; i < count && agree; ++i) {
    const EntryChange& change = step.changes[undo ? count - 1 - i : i];
    agree = WriteImage(program, keys.keys(), change.number, undo ? change.before : change.after);
  }
  return keys.Finish(agree);  // indexes in doubt are rebuilt before their next use
}

// Undoes (redoes) the newest step of `from` and moves it to `to` once it is written whole.
bool TakeStep(Program& program, std::vector<UndoStep>& from, std::vector<UndoStep>& to, bool undo) {
  if (from.empty() || !MayChangeEntries(program)) return false;
  const UndoStep& step = from.back();
  const bool many = step.changes.size() > 1;
  const EntryNumber first = step.changes.front().number;
  if (many) program.ui.ShowBusy();
  const bool written = WriteImages(program, step, undo);
  if (many) program.ui.ClearBusy();
  if (written) {
    to.push_back(std::move(from.back()));
    from.pop_back();
  }
  // The screen shows the entries as they now are on the disk.
  if (many) {
    EraseScreen(program);
  } else {
    GoToEntry(program, first);
  }
  return written;
}

std::size_t ImageBytes(const EntryImage& image) {
  std::size_t bytes = sizeof(EntryImage);
  for (const std::string& field : image.record.Field) bytes += field.capacity();
  return image.memo ? bytes + image.memo->capacity() : bytes;
}

std::size_t StepBytes(const EntryChanges& changes) {
  std::size_t bytes = changes.capacity() * sizeof(EntryChange);
  for (const EntryChange& change : changes) bytes += ImageBytes(change.before) + ImageBytes(change.after);
  return bytes;
}

}  // namespace

void RecordStep(Program& program, std::string what, EntryChanges changes) {
  if (changes.empty()) return;
  UndoHistory& history = program.history;
  const std::size_t bytes = StepBytes(changes);
  history.undo.push_back({.what = std::move(what), .changes = std::move(changes), .bytes = bytes});
  history.redo.clear();
  std::size_t held = 0;
  for (const UndoStep& step : history.undo) held += step.bytes;
  std::size_t forgotten = 0;
  while (held > history.most && forgotten + 1 < history.undo.size()) held -= history.undo[forgotten++].bytes;
  history.undo.erase(history.undo.begin(), history.undo.begin() + static_cast<std::ptrdiff_t>(forgotten));
}

void RecordChange(Program& program, std::string what, EntryNumber n, const EntryRecord& before,
                  const EntryRecord& after) {
  RecordStep(program, std::move(what), {{.number = n, .before = {.record = before}, .after = {.record = after}}});
}

void RecordNewEntries(Program& program, const std::string& what, EntryNumber last) {
  EntryChanges changes;
  EntryRecord record;
  for (EntryNumber n = last + 1; n <= program.header.Count(); ++n) {
    if (!ReadEntry(program, record, program.header, n, program.entryFile)) break;  // said by ReadEntry
    changes.push_back(NewEntryChange(n, record));
  }
  const std::size_t entries = changes.size();
  RecordStep(program, StepName(what, entries), std::move(changes));
}

void RecordMemoChange(Program& program, std::string what, const EntryImage& before, const EntryImage& after) {
  if (program.NewEntryState()) return;
  RecordStep(program, std::move(what), {{.number = program.currentEntryNumber, .before = before, .after = after}});
}

void ClearHistory(Program& program) { program.history = {}; }

std::string StepName(const std::string& what, std::size_t entries) {
  if (entries == 1) return what;
  std::string count = FormatStandard(static_cast<double>(entries));
  count.erase(count.rfind(LocaleNumberSeparators().decimal));  // whole entries: no decimals
  return what + " in " + count + " entries";
}

std::string UndoCaption(const Program& program) {
  const auto& steps = program.history.undo;
  return steps.empty() ? "U&ndo" : "U&ndo " + steps.back().what;
}

std::string RedoCaption(const Program& program) {
  const auto& steps = program.history.redo;
  return steps.empty() ? "Red&o" : "Red&o " + steps.back().what;
}

bool UndoCommand(Program& program) { return TakeStep(program, program.history.undo, program.history.redo, true); }

bool RedoCommand(Program& program) { return TakeStep(program, program.history.redo, program.history.undo, false); }

}  // namespace vrk
