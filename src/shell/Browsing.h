// Moving through the current list: Next, Previous and Select Number.
#pragma once

#include "shell/Program.h"

namespace vrk {

// Makes entry n with its record the current entry and shows it; nothing changes for 0 or the
// current number.
void MakeCurrent(Program& program, EntryNumber n, const EntryRecord& record);
// The next (previous) member of the current list; the list of a search or listing is walked by its
// own kind's rule (search/Walks.h). At the end of a list the entry stays and its message is shown.
void NextEntry(Program& program);
void PreviousEntry(Program& program);
void SelectNumber(Program& program);
// Shows entry n (1 to EntryCount) for editing, leaving the current list kind as it is.
void GoToEntry(Program& program, EntryNumber n);

}  // namespace vrk
