#include "admin/Replacement.h"

#include "catalog/Catalog.h"
#include "index/Keys.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {

Replacement::Replacement(CatalogStore& store)
    : store_(store),
      base_(store.BasePath()),
      directory_(store.catalogDirectory.empty() ? "/" : store.catalogDirectory) {}

Replacement::~Replacement() {
  if (committed_) return;
  // Best effort: what is left is dropped when the catalog is next opened for a change.
  if (entries_ != 0) (void)store_.files.Close(entries_);
  if (setupStaged_) (void)sys::RemoveFile(store_.fileSystem, NativePath(base_ + kStagedSetup));
  if (entries_ != 0) (void)sys::RemoveFile(store_.fileSystem, NativePath(base_ + kStagedEntries));
}

bool Replacement::Failed(int error, const std::string& path) {
  ReportFileError(store_.ui, FileFailureFromErrno(error, path));
  return false;
}

bool Replacement::Begin() {
  entries_ = OpenFile(store_.ui, store_.files, base_ + kStagedEntries, kWriteText, 0, false);
  if (entries_ == 0) return false;
  BufferedFile& file = *store_.files.Get(entries_);
  // Nobody else opens a staged file; once it is the entry file, others wait for this program.
  if (!file.Lock(sys::Lock::kExclusive)) return Failed(file.error(), base_ + kStagedEntries);
  if (const int error = sys::SyncDirectory(store_.fileSystem, directory_)) return Failed(error, directory_);
  return true;
}

bool Replacement::StageSetup(std::string_view bytes) {
  const int setup = OpenFile(store_.ui, store_.files, base_ + kStagedSetup, kWriteText, 0, false);
  if (setup == 0) return false;
  setupStaged_ = true;
  BufferedFile& file = *store_.files.Get(setup);
  bool ok = true;
  while (ok && !file.WriteAt(0, bytes.data(), bytes.size())) {
    ok = ReportFileError(store_.ui, FileFailureFromErrno(file.error(), base_ + kStagedSetup)) == 0;
  }
  if (ok && !file.Sync()) ok = Failed(file.error(), base_ + kStagedSetup);
  return store_.files.Close(setup) && ok;
}

bool Replacement::Commit(bool newEntries) {
  BufferedFile& staged = *store_.files.Get(entries_);
  if (newEntries && !staged.Sync()) return Failed(staged.error(), base_ + kStagedEntries);
  const std::string entries = NativePath(base_ + kStagedEntries);
  // The moment the change takes effect.
  if (const int error = newEntries ? sys::RenameFile(store_.fileSystem, entries, NativePath(base_ + ".DAT"))
                                   : sys::RemoveFile(store_.fileSystem, entries)) {
    return Failed(error, base_ + ".DAT");
  }
  committed_ = true;
  if (newEntries) {
    (void)store_.files.Close(store_.entryFile);  // the old entry file: written whole before
    store_.entryFile = entries_;
  } else {
    (void)store_.files.Close(entries_);  // empty
  }
  entries_ = 0;
  if (const int error = sys::SyncDirectory(store_.fileSystem, directory_)) return Failed(error, directory_);
  // From here on the staged setup file is the catalog's, also if this rename never happens.
  if (setupStaged_) {
    if (const int error =
            sys::RenameFile(store_.fileSystem, NativePath(base_ + kStagedSetup), NativePath(base_ + ".SET"))) {
      return Failed(error, base_ + ".SET");
    }
    if (const int error = sys::SyncDirectory(store_.fileSystem, directory_)) return Failed(error, directory_);
  }
  return true;
}

bool RemoveKeyIndexes(CatalogStore& store, const FieldTable& fields) {
  for (int field = 0; field < kFieldCount; ++field) {
    const auto at = static_cast<std::size_t>(field);
    if ((IsKeyField(fields[at]) || IsKeyField(store.fieldTable[at])) &&
        !KillIndexFile(store, field, store.catalogName)) {
      store.ui.Message("The key indexes of " + store.catalogName + " could not be replaced.", Icon::Exclamation);
      return false;
    }
  }
  return true;
}

}  // namespace vrk
