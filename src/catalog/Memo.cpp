#include "catalog/Memo.h"

#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"

namespace vrk {
namespace {

std::int64_t RecordOffset(float memoNumber) { return (static_cast<std::int64_t>(memoNumber) - 1) * kMemoLength; }

// The memo file opened for records, 0 after its message.
int OpenMemoFile(CatalogStore& store) {
  return OpenFile(store.ui, store.files, MemoPath(store), kRecords, kMemoLength, false);
}

// Writes one record and puts it on the disk; the file is closed either way.
bool WriteMemoRecord(CatalogStore& store, int file, float memoNumber, std::string_view text) {
  std::string record(text.substr(0, kMemoLength));
  record.resize(kMemoLength, ' ');
  const bool written =
      WriteBlock(store, file, RecordOffset(memoNumber), record) && SyncBlocks(store, file, MemoPath(store));
  return store.files.Close(file) && written;
}

// Writes the entry (when it is counted) and puts it on the disk.
bool StoreEntry(CatalogStore& store, const EntryRecord& record, EntryNumber n) {
  if (n < 1 || n > store.header.Count()) return true;
  return WriteEntry(store, record, store.header, n, store.entryFile) &&
         SyncBlocks(store, store.entryFile, store.BasePath() + ".DAT");
}

}  // namespace

std::string MemoPath(const CatalogStore& store) { return store.BasePath() + ".MEM"; }

std::string ReadMemo(CatalogStore& store, float memoNumber) {
  if (memoNumber < 1 || !FileExists(MemoPath(store))) return {};
  const int file = OpenFile(store.ui, store.files, MemoPath(store), kReadOnly, kMemoLength, false);
  if (file == 0) return {};
  std::string text(kMemoLength, ' ');
  const long got = ReadBlock(store, file, RecordOffset(memoNumber), text.data(), text.size());
  (void)store.files.Close(file);
  if (got <= 0) return {};
  text.resize(static_cast<std::size_t>(got));  // a record cut short by the file's end
  const auto end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

bool SaveMemo(CatalogStore& store, EntryRecord& record, EntryNumber n, std::string_view text) {
  const int file = OpenMemoFile(store);
  if (file == 0) return false;
  if (record.MemoNumber >= 1) return WriteMemoRecord(store, file, record.MemoNumber, text);
  const std::int64_t length = store.files.Get(file)->Size();
  if (length < 0) {
    ReportFileError(store.ui, FileFailureFromErrno(store.files.Get(file)->error(), MemoPath(store)));
    (void)store.files.Close(file);
    return false;
  }
  const auto memoNumber = static_cast<float>(length / static_cast<std::int64_t>(kMemoLength) + 1);
  if (!WriteMemoRecord(store, file, memoNumber, text)) return false;
  record.MemoNumber = memoNumber;
  if (StoreEntry(store, record, n)) return true;
  record.MemoNumber = 0;  // the new record belongs to no entry
  return false;
}

bool RemoveMemo(CatalogStore& store, EntryRecord& record, EntryNumber n) {
  const float memoNumber = record.MemoNumber;
  if (memoNumber < 1) return true;
  record.MemoNumber = 0;
  if (!StoreEntry(store, record, n)) {
    record.MemoNumber = memoNumber;
    return false;
  }
  const int file = OpenMemoFile(store);
  return file != 0 && WriteMemoRecord(store, file, memoNumber, {});
}

}  // namespace vrk
