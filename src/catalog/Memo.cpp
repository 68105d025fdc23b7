#include "catalog/Memo.h"

#include <charconv>
#include <cmath>

#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

// What an entry's memo number names in a memo file of `length` bytes.
enum class MemoRecord {
  kNone,     // below 1: the entry has no memo
  kInFile,   // a whole number from 1 to one past the file's last record
  kDamaged,  // anything else (a fraction, NaN, a number far beyond the file's end): no record is touched
};

MemoRecord Classify(float memoNumber, std::int64_t length) {
  if (memoNumber < 1) return MemoRecord::kNone;
  const double last = static_cast<double>(length / static_cast<std::int64_t>(kMemoLength) + 1);
  if (!(memoNumber <= last) || std::trunc(memoNumber) != memoNumber) return MemoRecord::kDamaged;
  return MemoRecord::kInFile;
}

// Only for numbers that Classify found in the file.
std::int64_t RecordOffset(float memoNumber) { return (static_cast<std::int64_t>(memoNumber) - 1) * kMemoLength; }

void ReportDamagedNumber(CatalogStore& store, float memoNumber) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, memoNumber).ptr;
  store.ui.Message("The memo number of this entry (" + std::string(text, end) + ") names no memo of " +
                       PathText(MemoPath(store)) + ": the entry is damaged, and its memo is left as it is.",
                   Icon::Exclamation);
}

// The memo file's length, 0 when there is none; -1 after its "File Error" message.
std::int64_t MemoFileLength(CatalogStore& store) {
  if (!FileExists(MemoPath(store))) return 0;
  const int file = OpenFile(store.ui, store.files, MemoPath(store), kReadOnly, kMemoLength, false);
  if (file == 0) return -1;
  const std::int64_t length = store.files.Get(file)->Size();
  if (length < 0) ReportFileError(store.ui, FileFailureFromErrno(store.files.Get(file)->error(), MemoPath(store)));
  (void)store.files.Close(file);  // only read
  return length;
}

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
  if (memoNumber < 1 || !FileExists(MemoPath(store))) {
    if (Classify(memoNumber, 0) == MemoRecord::kDamaged) ReportDamagedNumber(store, memoNumber);
    return {};
  }
  const int file = OpenFile(store.ui, store.files, MemoPath(store), kReadOnly, kMemoLength, false);
  if (file == 0) return {};
  const std::int64_t length = store.files.Get(file)->Size();
  if (length >= 0 && Classify(memoNumber, length) == MemoRecord::kDamaged) {
    (void)store.files.Close(file);
    ReportDamagedNumber(store, memoNumber);
    return {};
  }
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
  const std::int64_t length = store.files.Get(file)->Size();
  if (length < 0) {
    ReportFileError(store.ui, FileFailureFromErrno(store.files.Get(file)->error(), MemoPath(store)));
    (void)store.files.Close(file);
    return false;
  }
  switch (Classify(record.MemoNumber, length)) {
    case MemoRecord::kInFile: return WriteMemoRecord(store, file, record.MemoNumber, text);
    case MemoRecord::kDamaged:
      (void)store.files.Close(file);
      ReportDamagedNumber(store, record.MemoNumber);
      return false;
    case MemoRecord::kNone: break;
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
  const std::int64_t length = MemoFileLength(store);
  if (length < 0) return false;
  record.MemoNumber = 0;
  if (!StoreEntry(store, record, n)) {
    record.MemoNumber = memoNumber;
    return false;
  }
  // A damaged number is let go of; it names no record that could be blanked.
  if (Classify(memoNumber, length) == MemoRecord::kDamaged) return true;
  const int file = OpenMemoFile(store);
  return file != 0 && WriteMemoRecord(store, file, memoNumber, {});
}

}  // namespace vrk
