#include "shell/Memos.h"

#include "catalog/Memo.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"

namespace vrk {

void MemoCommand(Program& program) {
  MemoEditor editor{ReadMemo(program, program.currentEntry.MemoNumber), !program.MayChange()};
  if (!program.ui.dialogs.Show(editor) || !MayChangeEntries(program)) return;
  if (!SaveMemo(program, program.currentEntry, program.currentEntryNumber, editor.text)) return;
  program.screen.SetPanel(Panel::Deleted, "SEE MEMO");
}

void RemoveMemoCommand(Program& program) {
  if (program.currentEntry.MemoNumber < 1) {
    program.ui.Message("No memo to delete.");
    return;
  }
  if (!MayChangeEntries(program)) return;
  (void)RemoveMemo(program, program.currentEntry, program.currentEntryNumber);  // a failure has had its message
  program.screen.SetPanel(Panel::Deleted, DeletedPanelText(program.currentEntry));
}

}  // namespace vrk
