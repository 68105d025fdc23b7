// Start-up and shut-down: the program directory, the current catalog, the state without a catalog.
#pragma once

#include <string>

#include "catalog/Catalog.h"
#include "shell/Program.h"

namespace vrk {

inline constexpr const char* kStartSoundFile = "VRKOPEN.WAV";

// Sets the program and catalog directories and the INI path.
void SetProgramDirectory(Program& program, const std::string& directory);

// The catalog named by "CurrentDB" in VRK.INI, when its entry file exists; sets the catalog directory.
std::string ReadCurrentCatalogName(Program& program);
void OpenCurrentCatalog(Program& program);
// Opens the catalog `name` in `directory` as the current catalog, with its settings; key indexes in
// doubt are rebuilt when the catalog may be changed. False when it cannot be used.
bool UseCatalog(Program& program, const std::string& directory, const std::string& name, CatalogAccess access);

// Disables the commands that need a catalog.
void SetNoCatalogState(Program& program);
// Disables the commands that change the catalog: the read-only state, or a catalog only read.
void SetReadOnlyState(Program& program);

// Makes the catalog `name` of `directory` current in place of the one before, the way the start-up
// opens the current catalog (ShowCurrentCatalog). False when it cannot be used: no catalog is current then.
bool OpenCatalogOnScreen(Program& program, const std::string& directory, const std::string& name);
// The start-up's steps once the current catalog is open (or none is): its report format and macros,
// then PresentCurrentCatalog.
void ShowCurrentCatalog(Program& program);
// Shows the current catalog, or the state without one, on the main window: the commands that state
// allows (enabled again where an earlier state disabled them), the entry screen laid out, the
// status bar, and an erased screen, or the last entry where no entry can be made. Nothing of a
// catalog shown before stays: entry, list, browse index, totals.
void PresentCurrentCatalog(Program& program);
// Plays a wave file; a missing file or a missing audio device plays nothing and says nothing (false).
bool PlaySound(Program& program, const std::string& path);

// Loading the main window, up to the splash window: the support library, VRK.INI, the security code,
// the start-up sound. False when the program must end at once.
bool PrepareStartUp(Program& program);
// Loading the main window after the splash window: the current catalog, its layout, the status bar,
// and an erased screen ready for a new entry.
void OpenStartCatalog(Program& program);
// Closes the current catalog; a catalog that may be changed has its header and settings written
// first. False, after the message, when they could not be written.
bool CloseCurrentCatalog(Program& program);
// Ends the program: the sound, the browse index, the current catalog. True when a catalog was open,
// which the closing window follows.
bool ShutDown(Program& program);

}  // namespace vrk
