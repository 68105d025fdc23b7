// File > Catalog Maintenance on the main window: the program's side of the window, which may select,
// rename, rebuild or remove the current catalog.
#pragma once

#include "shell/Program.h"

namespace vrk {

// Puts the current catalog's header and settings on the disk (when it may be changed), for what reads
// the catalog's files rather than the program's state.
void StoreCurrentCatalog(Program& program);
// Erases the screen and stores the current catalog's header and settings, shows the Catalog
// Maintenance window on the catalog directory, and afterwards shows whatever catalog is current then.
void CatalogMaintenanceCommand(Program& program);

// Makes the catalog a path names (DIRECTORY/NAME, or its NAME.SET or NAME.DAT file) current as Select in
// Catalog Maintenance does, VRK.INI naming it. A path that names no catalog, or a catalog that cannot be
// used, is said in a message, and the catalog current before stays current. False then.
bool SelectCatalogByPath(Program& program, const std::string& path);

}  // namespace vrk
