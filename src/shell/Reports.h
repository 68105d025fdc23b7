// The Reports menu on the main window: Report Setup and Report Maintenance, over the program's state.
#pragma once

#include "shell/Program.h"

namespace vrk {

// Report Setup: opens the window (after the no-format message when no report format is selected) and,
// when it is confirmed, makes its destination and paper option the program's, shows the destination
// in the status bar, keeps it in VRK.INI and saves the catalog's settings. Sets the dialog cancel flag.
void ReportSetupCommand(Program& program);
// Report Maintenance on the program directory's formats.
void ReportMaintenanceCommand(Program& program);

}  // namespace vrk
