#include "catalog/FileIo.h"

namespace vrk {

bool WriteBlock(CatalogStore& store, int file, std::int64_t offset, std::string_view bytes) {
  BufferedFile* open = store.files.Get(file);
  if (open == nullptr) return false;
  while (!open->WriteAt(offset, bytes.data(), bytes.size())) {
    if (ReportFileError(store.ui, FileFailureFromErrno(open->error(), open->path())) != 0) return false;
  }
  ++store.blocksWritten;
  return true;
}

long ReadBlock(CatalogStore& store, int file, std::int64_t offset, char* data, std::size_t size) {
  BufferedFile* open = store.files.Get(file);
  if (open == nullptr) {
    std::memset(data, 0, size);
    return -1;
  }
  long got;
  while ((got = open->ReadAt(offset, data, size)) < 0) {
    if (ReportFileError(store.ui, FileFailureFromErrno(open->error(), open->path())) != 0) {
      std::memset(data, 0, size);  // a refused read leaves nothing to decode by mistake
      return -1;
    }
  }
  std::memset(data + got, 0, size - static_cast<std::size_t>(got));
  return got;
}

bool EndBlocks(CatalogStore& store, int file, const std::string& path) {
  BufferedFile* open = store.files.Get(file);
  if (open == nullptr) return false;
  if (open->EndBatch()) return true;
  ReportFileError(store.ui, FileFailureFromErrno(open->error(), path));
  return false;
}

bool SyncBlocks(CatalogStore& store, int file, const std::string& path) {
  BufferedFile* open = store.files.Get(file);
  if (open == nullptr) return false;
  if (open->Sync()) return true;
  ReportFileError(store.ui, FileFailureFromErrno(open->error(), path));
  return false;
}

}  // namespace vrk
