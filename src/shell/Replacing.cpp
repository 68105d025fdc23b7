#include "shell/Replacing.h"

#include "platform/Ui.h"
#include "search/Replace.h"
#include "shell/Editing.h"

namespace vrk {

void ReplaceCommand(Program& program) {
  if (!MayChangeEntries(program)) return;
  ReplaceDialog dialog = ReplaceDialogFor(program, program.search.globalText);
  const bool confirmed = program.ui.dialogs.Show(dialog);
  program.ui.DoEvents();
  if (!confirmed) return;
  StoreReplaceDialog(dialog, program.search.globalText, program.search.replace);
  RunReplace(program, program.search.globalText, program.search.replace, program.caseSensitive);
  EraseScreen(program);
}

}  // namespace vrk
