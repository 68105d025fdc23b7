// File > Catalog Maintenance on the main window: the program's side of the window, which may select,
// rename, rebuild or remove the current catalog.
#pragma once

#include "shell/Program.h"

namespace vrk {

// Erases the screen and stores the current catalog's header and settings, shows the Catalog
// Maintenance window on the catalog directory, and afterwards shows whatever catalog is current then.
void CatalogMaintenanceCommand(Program& program);

}  // namespace vrk
