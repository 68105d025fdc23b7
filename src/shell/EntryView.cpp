#include "shell/EntryView.h"

#include "catalog/ComputedFields.h"
#include "shell/EntryScreen.h"
#include "shell/PictureSound.h"

namespace vrk {

void ShowEntry(Program& program, const EntryRecord& record) {
  for (int i = 0; i < kFieldCount; ++i) {
    const bool computed = program.formulaTable[static_cast<std::size_t>(i)].Valid;
    program.screen.SetBoxText(i, computed ? ComputeField(program.formulaTable, record, i)
                                          : RightTrim(record.Field[static_cast<std::size_t>(i)]));
  }
  ShowPictureAndSound(program);
  program.screen.SetPanel(Panel::Deleted, DeletedPanelText(record));
}

std::string DeletedPanelText(const EntryRecord& record) {
  if (record.MemoNumber >= 1) return "SEE MEMO";
  return record.Status == kStatusDeleted ? "DELETED" : "";
}

std::string EntryPanelText(EntryNumber n) { return "Entry # " + std::to_string(n); }

std::string SortedPanelText(const CatalogSettings& settings) {
  return settings.SortedMark == 1.0f ? "SORTED" : "UNSORTED";
}

}  // namespace vrk
