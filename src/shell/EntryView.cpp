#include "shell/EntryView.h"

#include "catalog/ComputedFields.h"
#include "shell/EntryScreen.h"

namespace vrk {

void ShowEntry(Program& program, const EntryRecord& record) {
  for (int i = 0; i < kFieldCount; ++i) {
    const bool computed = program.formulaTable[static_cast<std::size_t>(i)].Valid;
    program.screen.SetBoxText(i, computed ? ComputeField(program.formulaTable, record, i)
                                          : RightTrim(record.Field[static_cast<std::size_t>(i)]));
  }
  std::string deleted;
  if (record.MemoNumber >= 1) {
    deleted = "SEE MEMO";
  } else if (record.Status == kStatusDeleted) {
    deleted = "DELETED";
  }
  program.screen.SetPanel(Panel::Deleted, deleted);
}

std::string EntryPanelText(EntryNumber n) { return "Entry # " + std::to_string(n); }

}  // namespace vrk
