#include "catalog/NewCatalog.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "catalog/Journal.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk {

NewCatalog StartNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                           const CatalogLayout& layout) {
  const std::string staged = kStagedImport + name;
  NewCatalog catalog{
      .directory = directory,
      .name = name,
      .entryPath = directory + "/" + staged + ".DAT",
      .header = {.EntryCount = 0, .FieldLength = layout.lengths, .EntryLength = EntryLengthFor(layout.lengths)}};
  if (!CreateNewCatalog(store, directory, name, layout, staged)) return catalog;
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

namespace vrk {

bool PlaceNewCatalog(CatalogStore& store, const NewCatalog& catalog, bool keep) {
  const std::string staged = catalog.directory + "/" + kStagedImport + catalog.name;
  std::vector<JournalStep> steps;
  if (const std::string setup = NativePath(catalog.directory + "/" + catalog.name + ".SET"); FileExists(setup)) {
    steps.push_back({FileNamePart(setup), {}});
  }
  // The entry file last: the catalog is there once it is.
  for (const char* extension : {".SET", ".DAT"})
    steps.push_back({kStagedImport + catalog.name + extension, catalog.name + extension});
  if (keep && RunJournal(store.ui, store.fileSystem, catalog.directory,
                         JournalName(kStagedImport + catalog.name, catalog.name), steps, true)) {
    return true;
  }
  for (const char* extension : {".SET", ".DAT"}) {
    if (const int error = FileExists(staged + extension) ? sys::RemoveFile(store.fileSystem, staged + extension) : 0) {
      (void)ReportFileError(store.ui, FileFailureFromErrno(error, staged + extension));
    }
  }
  return false;
}

}  // namespace vrk
