// The files of a catalog as the whole-catalog commands handle them, the catalogs of a directory, and a
// catalog held against other programs while its files are changed, renamed or removed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/Catalog.h"
#include "index/Keys.h"

namespace vrk {

// 1 to 8 letters A to Z and digits.
bool IsCatalogName(std::string_view name);

// A catalog named by a path, DIRECTORY/NAME, or by its setup or entry file, DIRECTORY/NAME.SET or
// NAME.DAT in any letter case: the directory ("." for none, "" for the root) and the upper-cased
// NAME. False when NAME is no catalog name.
bool SplitCatalogPath(const std::string& path, std::string& directory, std::string& name);

// The paths of the catalog's files that are there.
std::vector<std::string> ExistingCatalogFiles(const std::string& directory, const std::string& name);

// The two paths of field 21 as the file system names them; empty for a missing one.
std::string StoredSoundPath(const std::string& field21);
std::string StoredPicturePath(const std::string& field21);
// The picture and sound files that the entries of the store's open catalog name in field 21, deleted
// entries included (Undelete brings them back), each path once, in entry order. False after the
// message of a read the disk refused.
[[nodiscard]] bool CatalogMediaFiles(CatalogStore& store, std::vector<std::string>& paths);

// The NAME of every NAME.DAT of the directory (whatever the letter case of the file), upper-cased and in
// alphabetical order; names that are no catalog name are left out.
std::vector<std::string> EntryFileNames(const std::string& directory);

// Why NAME cannot be a new catalog's name in `directory`, or the new name of the catalog `self`: its
// index files would be those of another catalog there, as names alike in their first six letters
// share them. Empty when they would be its own.
std::string IndexNameClash(const std::string& directory, const std::string& name, const std::string& self = "");

struct CatalogLine {
  std::string name;
  EntryNumber entries = 0;
};
// A line for each entry file whose setup file is there too, with its entry count; for one without,
// "Error loading catalog " and its name is shown. The store's own catalog and tables stay as they are.
std::vector<CatalogLine> ListCatalogs(CatalogStore& store, const std::string& directory);

// Whether the catalog NAME of `directory` is the store's current catalog: the same name in the same
// directory, whatever path reaches it.
bool IsCurrentCatalog(const CatalogStore& store, const std::string& directory, const std::string& name);

// Takes the lock of a catalog in a store of its own, with its entry file open (for writing too when
// `write`), and finishes what a change stopped half way left beside it. False after "NAME is in use by
// another program." or the message of a file that could not be opened. The lock goes with the store.
[[nodiscard]] bool HoldCatalog(CatalogStore& holder, const std::string& directory, const std::string& name, bool write);

}  // namespace vrk
