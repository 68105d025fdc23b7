// The catalog store's part of the program state: the current catalog, its tables, the open files and
// the totals array. The program's state record builds on it; the store's operations take only this.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/CatalogTypes.h"
#include "catalog/Files.h"
#include "platform/FileSystem.h"
#include "support/IndexFile.h"

namespace vrk {

class Ui;

struct CatalogStore {
  // The catalog's files are on `system`: the machine's own, or a test's stand-in.
  explicit CatalogStore(Ui& ui, sys::FileSystem& system = sys::SystemFiles())
      : ui(ui), fileSystem(system), files(system), indexes(system) {}

  Ui& ui;
  sys::FileSystem& fileSystem;
  FileTable files;
  lib::Indexes indexes;          // the open index handles
  std::string programDirectory;  // holds VRK.INI and the files shared by all catalogs
  std::string catalogDirectory;
  std::string catalogName;  // empty when no catalog is open
  int entryFile = 0;        // file number of the open entry file, 0 when none
  bool writable = false;    // the open catalog may be changed: its files are writable and this program holds its lock
  FieldTable fieldTable = DefaultFieldTable();
  CatalogHeader header;
  FormulaTable formulaTable;  // of the setup file read last
  CatalogSettings settings;
  std::string reportFormatName;  // the current report format, empty when none is chosen
  bool caseSensitive = false;
  Totals totals{};
  // Counts the blocks written to the catalog's files, so that a window that shows entries beside the
  // commands that change them can tell when to read them again.
  std::uint64_t blocksWritten = 0;

  std::string BasePath() const { return catalogDirectory + "/" + catalogName; }
  bool CatalogOpen() const { return !catalogName.empty() && entryFile != 0; }
};

}  // namespace vrk
