// Copy Entries: every entry of one catalog of the catalog directory appended to another (or the same)
// through a mapping of destination fields to source fields that the user arranges.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

// The Enter Source/Destination window (frmSrcDest): the catalogs of the directory and the two chosen.
struct SourceDestination {
  std::vector<std::string> names = {};
  std::string source = {};
  std::string destination = {};
};

using FieldMap = std::array<short, kFieldCount>;

// The Configure Copy window (frmConfigCpy): both layouts and the mapping, which starts as the identity
// and always stays a permutation: map[d] is the source field copied into destination field d, and
// inverse[s] the destination field that source field s goes to.
struct ConfigureCopy {
  std::string sourceName = {};
  std::string destinationName = {};
  FieldTable sourceFields = {};
  FieldTable destinationFields = {};
  std::array<short, kFieldCount> sourceLengths{};
  std::array<short, kFieldCount> destinationLengths{};
  FieldMap map{};
  FieldMap inverse{};
};

// Both layouts read from the directory, the mapping the identity. False after "Error loading catalog
// NAME" for a catalog that cannot be read.
bool PrepareConfigureCopy(CatalogStore& store, const std::string& directory, ConfigureCopy& copy);
// Source field `source` picked for destination row `row`: the two rows swap their sources.
void ChooseCopySource(ConfigureCopy& copy, int row, int source);
// A row whose destination field is shorter than its source field: its text will be cut.
bool RowIsCut(const ConfigureCopy& copy, int row);

// Appends a copy of every source entry (deleted ones too) to the destination as an active entry, each
// destination field the stored text of its source field cut or padded to its length, with the gauge
// "Copying Entries...." and its Cancel. The destination's key indexes list the copies. A cancelled or
// failed copy leaves the destination as it was. Entries of the store's current catalog are read and
// written through its open entry file. Returns the number of entries copied, or -1 after a message.
EntryNumber CopyEntries(CatalogStore& store, const std::string& directory, const ConfigureCopy& copy);
// "12 entries were copied from MUSIC to MUSIC2."
std::string CopiedText(EntryNumber count, const ConfigureCopy& copy);

}  // namespace vrk
