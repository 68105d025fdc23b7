// Slot layout: status (MBF single), the used fields in field order in code page 437, NextSorted,
// PrevSorted and MemoNumber (MBF singles), then zero bytes up to the slot's end.
#include "catalog/EntryFile.h"

#include <algorithm>
#include <vector>

#include "catalog/FileIo.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"

namespace vrk {

EntryRecord BlankEntry(const CatalogHeader& header) {
  EntryRecord record;
  for (int i = 0; i < kFieldCount; ++i) record.Field[i].assign(static_cast<std::size_t>(header.FieldLength[i]), ' ');
  return record;
}

bool ReadEntry(CatalogStore& store, EntryRecord& record, const CatalogHeader& header, EntryNumber n, int file) {
  if (n < 1) {
    store.ui.Message("Bad RecNum");
    return false;
  }
  std::vector<char> slot(static_cast<std::size_t>(header.EntryLength));
  const long got = ReadBlock(store, file, static_cast<std::int64_t>(header.EntryLength) * n, slot.data(), slot.size());
  if (got < 0) return false;
  if (got == 0) {  // beyond the end of the file: nothing was ever written here
    record = BlankEntry(header);
    return true;
  }
  const char* at = slot.data();
  record.Status = GetSingle(at);
  at += 4;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto length = static_cast<std::size_t>(header.FieldLength[i]);
    if (length == 0) continue;
    record.Field[i].assign(at, length);
    OemToCharBuff(record.Field[i].data(), length);
    at += length;
  }
  record.NextSorted = GetSingle(at);
  record.PrevSorted = GetSingle(at + 4);
  record.MemoNumber = GetSingle(at + 8);
  return true;
}

bool WriteEntry(CatalogStore& store, const EntryRecord& record, const CatalogHeader& header, EntryNumber n, int file) {
  if (n < 1) {
    store.ui.Message("Bad RecNum");
    return false;
  }
  // Status, fields and the three singles, then the pad: 54 bytes in all for short entries, else one zero.
  int sum = 0;
  for (const short length : header.FieldLength) sum += length;
  const int written = sum + 16 + 55 - std::min(sum + kSlotOverhead, kHeaderLength);
  std::string slot(static_cast<std::size_t>(written), '\0');
  char* at = slot.data();
  PutSingle(at, record.Status);
  at += 4;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto length = static_cast<std::size_t>(header.FieldLength[i]);
    if (length == 0) continue;
    const std::string& text = record.Field[i];
    text.copy(at, std::min(length, text.size()));
    if (text.size() < length) std::memset(at + text.size(), ' ', length - text.size());
    CharToOemBuff(at, length);
    at += length;
  }
  PutSingle(at, record.NextSorted);
  PutSingle(at + 4, record.PrevSorted);
  PutSingle(at + 8, record.MemoNumber);
  return WriteBlock(store, file, static_cast<std::int64_t>(header.EntryLength) * n, slot);
}

WalkEnd WalkEntries(CatalogStore& store, const std::string& message,
                    const std::function<bool(const EntryRecord&, EntryNumber)>& visit) {
  const EntryNumber count = store.header.Count();
  store.ui.SetMainWindowEnabled(false);
  store.ui.OpenGauge(static_cast<double>(count), message, true);
  WalkEnd end = WalkEnd::kDone;
  EntryRecord record;
  for (EntryNumber n = 1; n <= count && end == WalkEnd::kDone; ++n) {
    if (store.ui.StepGauge()) {
      end = WalkEnd::kCancelled;
    } else if (!ReadEntry(store, record, store.header, n, store.entryFile) || !visit(record, n)) {
      end = WalkEnd::kFailed;
    }
  }
  store.ui.SetMainWindowEnabled(true);
  store.ui.CloseGauge();
  return end;
}

}  // namespace vrk
