// Where no output may go: a report, table, export or archive written over one of the files the program
// lives on would destroy it. The check compares files by identity (device and inode) and by resolved
// path, so that no symbolic or hard link and no other spelling of the path slips through.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

// The files an output never replaces: every file of the catalog NAME of `catalogDirectory` (entry,
// setup, macro, memo, staged and index files), and in `programDirectory` every report format, VRK.INI
// and the security file.
struct ProtectedFiles {
  std::string programDirectory;
  std::string catalogDirectory;
  std::string catalogName;  // empty: no catalog
};
// The store's program directory and current catalog.
ProtectedFiles ProtectedFilesOf(const CatalogStore& store);

// The message that refuses `path` as an output, or empty when it may be written.
std::string OutputTargetRefusal(const ProtectedFiles& files, const std::string& path);
// Says so and returns true when `path` may not take the store's output.
bool RefuseOutputTarget(CatalogStore& store, const std::string& path);

}  // namespace vrk
