// Opening, creating and closing catalogs; the setup file (field table, formulas, settings) and the
// header at the start of the entry file.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

// Setup file layout: 16-byte slots; the formula of field index i lives in slot i + 47.
inline constexpr int kSetupFileLength = 1074;

// The window shown when a catalog's first entry is not of a kind this program reads; it only informs.
struct CatalogNotCompatible {};

// How a catalog is opened.
enum class CatalogAccess {
  kRead,               // only read: its files are opened for reading and other programs may change it meanwhile
  kChange,             // changed: opened for writing and locked against other programs that would change it;
                       // refused with a message when its files are read-only or another program holds it
  kChangeWhenAllowed,  // changed when it can be, else only read, with a notice saying why
};

// A change that replaces a catalog's files whole (a new layout, the deleted entries eliminated) first
// writes the new files beside the old ones, the entry file as base + kStagedEntries and the setup file
// as base + kStagedSetup, and puts them on the disk. Then it moves them over the old ones: the entry
// file first, which is the moment the change takes effect (a change of the setup file alone removes
// an empty staged entry file instead), then the setup file. So a staged entry file beside a catalog
// means that its change never took effect, and a staged setup file alone that it did: that setup file
// is then the catalog's. At every moment the catalog is whole, as it was before or as it is after.
inline constexpr const char* kStagedEntries = ".DA$";
inline constexpr const char* kStagedSetup = ".SE$";
// The macro file written whole beside NAME.MCR before it takes its place (shell/TextMacros.h); one
// left by a stopped program never took effect.
inline constexpr const char* kStagedMacros = ".MC$";
// The catalog's setup file: the staged one of a change that took effect, else base + ".SET".
std::string SetupFilePath(const std::string& base);
// Finishes the change a stopped program left half done, or drops what it staged (a staged macro file
// too). Run while holding the catalog's lock. False, after its message, when a file could not be moved or removed.
[[nodiscard]] bool FinishReplacement(CatalogStore& store, const std::string& base);

// Waits a little for the lock that keeps other programs from changing the catalog whose entry file
// `file` was opened from base + ".DAT" in `mode`. An entry file that another program replaced or
// removed meanwhile is no longer the catalog's: the file now at that path is opened and locked
// instead. The file number of the locked entry file; 0 when another program holds the catalog or its
// entry file is gone, and then the file given is closed.
[[nodiscard]] int LockCatalog(CatalogStore& store, const std::string& base, FileMode mode, int file);

// Reads the field table, the formulas and the entry file's header. False when the setup file or the
// header could not be read.
[[nodiscard]] bool ReadSetup(CatalogStore& store, const std::string& directory, const std::string& name,
                             FieldTable& fields, CatalogHeader& header);
// Entry file number of the opened catalog, or 0 when it cannot be used. Sets `store.writable`.
int OpenCatalog(CatalogStore& store, const std::string& directory, const std::string& name, CatalogAccess access);
// Lets a catalog that was opened for reading be changed from now on: its entry file is opened for
// writing and locked. False when its files are read-only or another program holds it.
[[nodiscard]] bool MakeChangeable(CatalogStore& store);
[[nodiscard]] bool InitSetup(CatalogStore& store, const std::string& directory, const std::string& name,
                             FieldTable& fields, CatalogHeader& header);
// Writes the field and formula slots of the setup file and the entry file's header. False when a file
// could not be written.
[[nodiscard]] bool CreateCatalog(CatalogStore& store, const std::string& basePath, const FieldTable& fields,
                                 CatalogHeader& header);
[[nodiscard]] bool WriteHeader(CatalogStore& store, int file, const CatalogHeader& header);
// Reads the entry count of a catalog opened for reading again, from the disk: other programs may have
// added entries since it was opened. A change of the entries writes the count before it marks its
// indexes whole, so an index opened (and locked) before this call names no entry beyond the count.
void RefreshEntryCount(CatalogStore& store);
// Writes the header of a catalog that may be changed, puts it on the disk and closes the entry file.
// False when the header could not be written.
[[nodiscard]] bool CloseCatalog(CatalogStore& store, int file);
// A setup file that cannot be read leaves the settings as they were.
void ReadSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings);
[[nodiscard]] bool WriteSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings);

// The three characters of a formula slot ("A+B"), or "" for a field that is not computed.
std::string FormulaText(const Formula& formula);
Formula ParseFormula(std::string_view slot);

}  // namespace vrk
