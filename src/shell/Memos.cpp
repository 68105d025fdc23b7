#include "shell/Memos.h"

#include "catalog/Memo.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"

namespace vrk {

bool MemoCommand(Program& program) {
  MemoEditor editor{ReadMemo(program, program.currentEntry.MemoNumber), !program.MayChange()};
  if (!program.ui.dialogs.Show(editor) || !MayChangeEntries(program)) return false;
  if (!SaveMemo(program, program.currentEntry, program.currentEntryNumber, editor.text)) return false;
  program.screen.SetPanel(Panel::Deleted, "SEE MEMO");
  return true;
}

bool RemoveMemoCommand(Program& program) {
  if (program.currentEntry.MemoNumber < 1) {
    program.ui.Message("No memo to delete.");
    return false;
  }
  if (!MayChangeEntries(program)) return false;
  const bool removed = RemoveMemo(program, program.currentEntry, program.currentEntryNumber);
  program.screen.SetPanel(Panel::Deleted, DeletedPanelText(program.currentEntry));
  return removed;
}

}  // namespace vrk
