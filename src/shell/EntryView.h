// Showing an entry in the entry boxes and the status bar.
#pragma once

#include <string>

#include "shell/Program.h"

namespace vrk {

// Puts an entry into the boxes (computed fields show their value) and sets the "Deleted" panel.
void ShowEntry(Program& program, const EntryRecord& record);
// The "Deleted" panel for an entry: "SEE MEMO", "DELETED" or nothing.
std::string DeletedPanelText(const EntryRecord& record);
// "Entry # 12"
std::string EntryPanelText(EntryNumber n);
// The "Sorted" panel for the catalog's settings: "SORTED" or "UNSORTED".
std::string SortedPanelText(const CatalogSettings& settings);

}  // namespace vrk
