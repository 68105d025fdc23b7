#include "catalog/NewCatalog.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"

namespace vrk {

NewCatalog StartNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                           const CatalogLayout& layout) {
  NewCatalog catalog{
      .entryPath = directory + "/" + name + ".DAT",
      .header = {.EntryCount = 0, .FieldLength = layout.lengths, .EntryLength = EntryLengthFor(layout.lengths)}};
  if (!CreateNewCatalog(store, directory, name, layout)) return catalog;
  catalog.file = OpenFile(store.ui, store.files, catalog.entryPath, kBinary, 0, false);
  if (catalog.file != 0) store.files.Get(catalog.file)->BeginBatch();
  return catalog;
}

bool AppendNewEntry(CatalogStore& store, NewCatalog& catalog, const EntryRecord& record) {
  if (catalog.refused || !WriteEntry(store, record, catalog.header, catalog.written + 1, catalog.file)) {
    catalog.refused = true;
    return false;
  }
  ++catalog.written;
  return true;
}

bool FinishNewCatalog(CatalogStore& store, NewCatalog& catalog) {
  BufferedFile& entries = *store.files.Get(catalog.file);
  EntryNumber counted = catalog.written;
  bool flushed = entries.EndBatch();
  while (!flushed && !catalog.refused &&
         ReportFileError(store.ui, FileFailureFromErrno(entries.error(), catalog.entryPath)) == 0) {
    flushed = entries.EndBatch();
  }
  if (!flushed) {
    entries.DropGathered();
    // Only entries whose slot lies wholly in the file are there.
    const auto onDisk = static_cast<EntryNumber>(entries.Size() / catalog.header.EntryLength) - 1;
    counted = std::clamp<EntryNumber>(onDisk, 0, counted);
  }
  // The entries are on the disk before the header counts them, and the header before the import ends.
  const bool synced = SyncBlocks(store, catalog.file, catalog.entryPath);
  catalog.header.EntryCount = synced ? static_cast<float>(counted) : 0.0f;
  const bool written =
      WriteHeader(store, catalog.file, catalog.header) && SyncBlocks(store, catalog.file, catalog.entryPath);
  const bool closed = store.files.Close(catalog.file);
  return !catalog.refused && flushed && synced && written && closed;
}

}  // namespace vrk
