#include "shell/Utilities.h"

#include "admin/CatalogFiles.h"
#include "admin/CopyEntries.h"
#include "admin/EliminateDeleted.h"
#include "admin/SecurityCode.h"
#include "admin/Sort.h"
#include "index/Rebuild.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/UndoHistory.h"

namespace vrk {

bool ReIndexCommand(Program& program) {
  EraseScreen(program);
  return ReIndex(program);
}

void SortCommand(Program& program) {
  if (!MayChangeEntries(program)) return;
  SortSetup setup(program);
  const bool confirmed = program.ui.dialogs.Show(setup);
  program.ui.DoEvents();
  if (confirmed) {
    ClearHistory(program);  // the sorted links the steps hold are rewritten
    EraseScreen(program);
    (void)SortCatalog(program, setup.levels);  // an aborted sort has said so
  }
  program.screen.SetPanel(Panel::Sorted, SortedPanelText(program.settings));
}

void CopyEntriesCommand(Program& program) {
  SourceDestination choice{EntryFileNames(program.catalogDirectory)};
  if (!program.ui.dialogs.Show(choice)) return;
  ConfigureCopy copy{choice.source, choice.destination};
  if (!PrepareConfigureCopy(program, program.catalogDirectory, copy) || !program.ui.dialogs.Show(copy)) return;
  const EntryNumber last = program.header.Count();
  const EntryNumber copied = CopyEntries(program, program.catalogDirectory, copy);
  if (copied >= 0) {
    RecordNewEntries(program, "Copy Entries", last);  // when they went into the current catalog
    program.ui.Message(CopiedText(copied, copy));
  }
  EraseScreen(program);
}

void EliminateDeletedCommand(Program& program) {
  const bool undoCleared = !program.history.undo.empty() || !program.history.redo.empty();
  if (!MayChangeEntries(program) || !ConfirmEliminateDeleted(program.ui, undoCleared)) {
    return;
  }
  ClearHistory(program);            // the entries are numbered anew
  (void)EliminateDeleted(program);  // a failure has had its message
  EraseScreen(program);
  program.screen.SetPanel(Panel::Sorted, SortedPanelText(program.settings));
}

void SetSecurityCodeCommand(Program& program) { SetSecurityCode(program); }

}  // namespace vrk
