// The Catalog Maintenance window (frmCatMaint): the catalogs of a directory with their entry counts,
// and the commands that make one current, create, rebuild, rename, delete, back up, enlarge or import
// catalogs. A catalog another program holds is never changed under it: each command that changes a
// catalog's files takes its lock first and says that it is in use otherwise.
#pragma once

#include <string>
#include <vector>

#include "admin/CatalogFiles.h"

namespace vrk {

// What the commands need of the program whose current catalog they may touch.
class CurrentCatalog {
 public:
  virtual ~CurrentCatalog() = default;
  // Makes the catalog current as the start-up opens one (settings, report format, macros), and names it
  // in VRK.INI. False when it cannot be used: no catalog is current then.
  virtual bool Select(const std::string& directory, const std::string& name) = 0;
  // Closes the current catalog for a while (its header and settings stored), so that another program
  // can read it whole, and opens it again.
  virtual void Close() = 0;
  virtual void Reopen() = 0;
  // The current catalog's files were given another name; the store holds them still.
  virtual void Renamed(const std::string& name) = 0;
  // The current catalog's files are gone: no catalog is current, and VRK.INI names none.
  virtual void Removed() = 0;
};

// Makes the catalog current; when it cannot be used, says so and makes the catalog current before
// current again. False when it could not be used.
bool SelectOrKeep(CatalogStore& store, CurrentCatalog& current, const std::string& directory, const std::string& name);

// The window's state: its directory, the catalog list and the highlighted line.
struct CatalogMaintenance {
  CatalogMaintenance(CatalogStore& store, CurrentCatalog& current, bool readOnly)
      : store(store), current(current), readOnly(readOnly), directory(store.catalogDirectory) {}

  CatalogStore& store;  // the program's, with its current catalog
  CurrentCatalog& current;
  bool readOnly;          // the security code's read-only state: only Select and Backup
  std::string directory;  // every command works here
  std::vector<CatalogLine> lines;
  int highlighted = -1;     // -1 when the list is empty
  std::string currentName;  // shown as the current catalog
};

// A line as the list shows it: the name left-justified in 8 characters, a TAB, the entry count.
std::string CatalogLineText(const CatalogLine& line);

// Builds the list of the window's directory; the current catalog's line, else the first, is highlighted.
void BuildCatalogList(CatalogMaintenance& maintenance);
void ChangeMaintenanceDirectory(CatalogMaintenance& maintenance, const std::string& directory);

// Backup, Edit Catalog, Rename, Delete, Reserve Space and Select need a line; New, Edit Catalog,
// Delete, Reserve Space, Rename and Import dBase are not for the read-only state.
bool LineCommandsEnabled(const CatalogMaintenance& maintenance);
bool ChangingCommandsEnabled(const CatalogMaintenance& maintenance);

// The commands of the window's buttons, on the highlighted catalog.
void SelectCatalog(CatalogMaintenance& maintenance);
void NewCatalog(CatalogMaintenance& maintenance);
void EditCatalog(CatalogMaintenance& maintenance);
void RenameCatalog(CatalogMaintenance& maintenance);
void DeleteCatalog(CatalogMaintenance& maintenance);
void BackupCatalog(CatalogMaintenance& maintenance);
void ReserveSpace(CatalogMaintenance& maintenance);
void ImportDbase(CatalogMaintenance& maintenance);

// The pieces of the commands that vrkcli runs on their own. Each takes the catalog's lock and says
// what went wrong; true when everything was done and stored.
bool RenameCatalogFiles(CatalogStore& holder, const std::string& directory, const std::string& name,
                        const std::string& newName);
bool RemoveCatalogFiles(CatalogStore& holder, const std::string& directory, const std::string& name);
// Blank entry slots after the last entry, for that many entries to come; the count stays.
bool ReserveEntrySlots(CatalogStore& holder, EntryNumber count);
// The size of `count` slots of `entryLength` bytes in kilobytes, as "####.#" shows it: 14.6, 100.
std::string ReservedSizeText(EntryNumber count, short entryLength);
// Runs vrkback on the catalog and shows what it said. True when it made the backup.
bool RunBackup(Ui& ui, const std::string& directory, const std::string& name);

}  // namespace vrk
