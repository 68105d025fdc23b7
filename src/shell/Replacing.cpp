#include "shell/Replacing.h"

#include "platform/Ui.h"
#include "search/Replace.h"
#include "shell/Editing.h"
#include "shell/UndoHistory.h"

namespace vrk {

void ReplaceCommand(Program& program) {
  if (!MayChangeEntries(program)) return;
  ReplaceDialog dialog = ReplaceDialogFor(program, program.search.globalText);
  const bool confirmed = program.ui.dialogs.Show(dialog);
  program.ui.DoEvents();
  if (!confirmed) return;
  StoreReplaceDialog(dialog, program.search.globalText, program.search.replace);
  EntryChanges changes;
  RunReplace(program, program.search.globalText, program.search.replace, program.caseSensitive, &changes);
  const std::size_t entries = changes.size();
  RecordStep(program, StepName("Replace", entries), std::move(changes));
  EraseScreen(program);
}

}  // namespace vrk
