#include "shell/Memos.h"

#include "catalog/Memo.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/UndoHistory.h"

namespace vrk {

bool MemoCommand(Program& program) {
  MemoEditor editor{ReadMemo(program, program.currentEntry.MemoNumber), !program.MayChange()};
  const EntryImage before{.record = program.currentEntry, .memo = editor.text};
  if (!program.ui.dialogs.Show(editor) || !MayChangeEntries(program)) return false;
  if (!SaveMemo(program, program.currentEntry, program.currentEntryNumber, editor.text)) return false;
  RecordMemoChange(program, "Memo", before, {.record = program.currentEntry, .memo = editor.text});
  program.screen.SetPanel(Panel::Deleted, "SEE MEMO");
  return true;
}

bool RemoveMemoCommand(Program& program) {
  if (program.currentEntry.MemoNumber < 1) {
    program.ui.Message("No memo to delete.");
    return false;
  }
  if (!MayChangeEntries(program)) return false;
  const EntryImage before{.record = program.currentEntry, .memo = ReadMemo(program, program.currentEntry.MemoNumber)};
  const bool removed = RemoveMemo(program, program.currentEntry, program.currentEntryNumber);
  // Detached is removed, even when its record could not be blanked.
  if (program.currentEntry.MemoNumber < 1)
    RecordMemoChange(program, "Remove Memo", before, {.record = program.currentEntry});
  program.screen.SetPanel(Panel::Deleted, DeletedPanelText(program.currentEntry));
  return removed;
}

}  // namespace vrk
