// The searches and lists of the View menu, run after their dialogs have stored what the user chose
// (the search criteria and mode, the list range, the selected key field and the starting and ending
// points, the global search text: program.search). Each sends its members to `output` when given one
// (vrkcli), otherwise to the report destination; to the main window, the first member becomes the
// current entry and Next and Previous step through the rest (shell/Browsing.h). Every walk runs with
// the busy pointer and the gauge with Cancel, the main window disabled.
//
// Each returns the number of entries sent (1 when the main window shows the first member), 0 when
// nothing was found or the run did not start.
#pragma once

#include "report/Output.h"
#include "shell/Program.h"

namespace vrk {

// View > Search: sequential or alphabetical by the search mode. Erases the screen first.
EntryNumber SearchRun(Program& program, EntryOutput* output = nullptr);
// View > List Range: the entries from the range's start to its end, deleted ones included.
EntryNumber ListRangeRun(Program& program, EntryOutput* output = nullptr);
// View > List Alphabetically: the selected key field's index from the starting point on. Erases the
// screen first.
EntryNumber ListAlphabeticallyRun(Program& program, EntryOutput* output = nullptr);
// View > Find Deleted: the deleted entries in entry order.
EntryNumber FindDeleted(Program& program, EntryOutput* output = nullptr);
// View > Global Search: the entries that hold the global search text in any field.
EntryNumber GlobalSearchRun(Program& program, EntryOutput* output = nullptr);

}  // namespace vrk
