// Slot layout: status (MBF single), the used fields in field order in code page 437, NextSorted,
// PrevSorted and MemoNumber (MBF singles), then zero bytes up to the slot's end.
#include "catalog/EntryFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "catalog/FileIo.h"
#include "platform/CodePage.h"
#include "platform/LongOperation.h"

namespace vrk {

namespace {

// OemToCharBuff as a table of this file's own, so that the loop over a field's bytes is inlined.
const std::array<char, 256> kOemToAnsi = [] {
  std::array<char, 256> table{};
  for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = static_cast<char>(c);
  OemToCharBuff(table.data(), table.size());
  return table;
}();

// Whether the table keeps characters 0 to 127 as they are: then 8 of them are copied at a time.
const bool kLowHalfKept = [] {
  for (int c = 0; c < 0x80; ++c) {
    if (kOemToAnsi[static_cast<std::size_t>(c)] != static_cast<char>(c)) return false;
  }
  return true;
}();

void DecodeText(char* out, const char* in, std::size_t length) {
  std::size_t c = 0;
  for (; kLowHalfKept && c + 8 <= length; c += 8) {
    std::uint64_t word;
    std::memcpy(&word, in + c, 8);
    if ((word & 0x8080808080808080ull) == 0) {
      std::memcpy(out + c, &word, 8);
    } else {
      for (std::size_t k = c; k < c + 8; ++k) out[k] = kOemToAnsi[static_cast<unsigned char>(in[k])];
    }
  }
  for (; c < length; ++c) out[c] = kOemToAnsi[static_cast<unsigned char>(in[c])];
}

}  // namespace

EntryRecord BlankEntry(const CatalogHeader& header) {
  EntryRecord record;
  for (int i = 0; i < kFieldCount; ++i) record.Field[i].assign(static_cast<std::size_t>(header.FieldLength[i]), ' ');
  return record;
}

// Decodes a slot read from the file (zeros where the file ended inside it).
void DecodeSlot(EntryRecord& record, const CatalogHeader& header, const char* slot, FieldMask fields) {
  const char* at = slot;
  record.Status = GetSingle(at);
  at += 4;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto length = static_cast<std::size_t>(header.FieldLength[i]);
    if (length == 0) continue;
    if ((fields >> i) & 1) {
      std::string& field = record.Field[i];
      field.resize(length);
      DecodeText(field.data(), at, length);
    }
    at += length;
  }
  record.NextSorted = GetSingle(at);
  record.PrevSorted = GetSingle(at + 4);
  record.MemoNumber = GetSingle(at + 8);
}

bool ReadEntry(CatalogStore& store, EntryRecord& record, const CatalogHeader& header, EntryNumber n, int file,
               FieldMask fields) {
  if (n < 1) {
    store.ui.Message("Bad RecNum");
    return false;
  }
  // The slot on the stack: reading entries in key order allocates nothing per entry.
  constexpr std::size_t kOnStack = 4096;
  const auto size = static_cast<std::size_t>(header.EntryLength);
  std::array<char, kOnStack> small;
  std::vector<char> large(size > kOnStack ? size : 0);
  char* const slot = size > kOnStack ? large.data() : small.data();
  const long got = ReadBlock(store, file, static_cast<std::int64_t>(header.EntryLength) * n, slot, size);
  if (got < 0) return false;
  if (got == 0) {  // beyond the end of the file: nothing was ever written here
    record = BlankEntry(header);
    return true;
  }
  DecodeSlot(record, header, slot, fields);
  return true;
}

bool WriteEntry(CatalogStore& store, const EntryRecord& record, const CatalogHeader& header, EntryNumber n, int file) {
  if (n < 1) {
    store.ui.Message("Bad RecNum");
    return false;
  }
  return WriteBlock(store, file, static_cast<std::int64_t>(header.EntryLength) * n, EntrySlot(record, header));
}

std::string EntrySlot(const EntryRecord& record, const CatalogHeader& header) {
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
  return slot;
}

namespace {

// A reader's first block, doubled at each next block up to the largest: a step to one entry reads and
// allocates 64 kB, not a quarter of a megabyte, while a pass soon reads a quarter of a megabyte at a time.
constexpr std::size_t kFirstReaderBlock = 64 * 1024;
constexpr std::size_t kReaderBlock = 256 * 1024;

}  // namespace

SlotLayout::SlotLayout(const CatalogHeader& header) : length(static_cast<std::size_t>(header.EntryLength)) {
  std::size_t at = 4;
  for (int i = 0; i < kFieldCount; ++i) {
    field[static_cast<std::size_t>(i)] = at;
    at += static_cast<std::size_t>(header.FieldLength[static_cast<std::size_t>(i)]);
  }
  links = at;
}

bool VisitSlots(CatalogStore& store, int file, const CatalogHeader& header, EntryNumber first, EntryNumber last,
                bool writeBack, const std::function<bool(EntryNumber, char* slot)>& visit) {
  const auto length = static_cast<std::size_t>(header.EntryLength);
  if (length == 0) return first > last;
  std::vector<char> block(std::max<std::size_t>(1, kReaderBlock / length) * length);
  for (EntryNumber n = first; n <= last;) {
    const std::size_t slots = std::min(block.size() / length, static_cast<std::size_t>(last - n + 1));
    const auto offset = static_cast<std::int64_t>(length) * n;
    if (ReadBlock(store, file, offset, block.data(), slots * length) < 0) return false;
    for (std::size_t i = 0; i < slots; ++i) {
      if (!visit(n + static_cast<EntryNumber>(i), block.data() + i * length)) return false;
    }
    if (writeBack && !WriteBlock(store, file, offset, std::string_view(block.data(), slots * length))) return false;
    n += static_cast<EntryNumber>(slots);
  }
  return true;
}

EntryReader::EntryReader(CatalogStore& store, FieldMask fields) : store_(store), fields_(fields) {
  const auto length = static_cast<std::size_t>(std::max<short>(store.header.EntryLength, 1));
  const SlotLayout layout(store.header);
  blank_.assign(std::max(length, layout.links), '\0');
  std::fill(blank_.begin() + static_cast<std::ptrdiff_t>(layout.field[0]),
            blank_.begin() + static_cast<std::ptrdiff_t>(layout.links), ' ');
}

const char* EntryReader::Slot(EntryNumber n) {
  const auto length = static_cast<std::size_t>(std::max<short>(store_.header.EntryLength, 0));
  if (length == 0 || n < 1 || n > store_.header.Count()) return blank_.data();
  if (n < first_ || n >= first_ + static_cast<EntryNumber>(slots_)) {
    if (!WriteChanged()) return nullptr;
    const std::size_t bytes = block_.empty() ? kFirstReaderBlock : std::min(2 * block_.size(), kReaderBlock);
    block_.resize(std::max<std::size_t>(1, bytes / length) * length);
    const auto room = static_cast<EntryNumber>(block_.size() / length);
    first_ = n < first_ ? std::max<EntryNumber>(1, n - room + 1) : n;
    slots_ = static_cast<std::size_t>(std::min(room, store_.header.Count() - first_ + 1));
    got_ =
        ReadBlock(store_, store_.entryFile, static_cast<std::int64_t>(length) * first_, block_.data(), slots_ * length);
    if (got_ < 0) {
      slots_ = 0;
      return nullptr;
    }
  }
  const auto at = static_cast<std::size_t>(n - first_);
  if (static_cast<std::size_t>(got_) <= at * length) return blank_.data();  // beyond the end of the file
  return block_.data() + at * length;
}

bool EntryReader::Write(EntryNumber n, const EntryRecord& record) {
  const auto length = static_cast<std::size_t>(std::max<short>(store_.header.EntryLength, 0));
  const std::string slot = EntrySlot(record, store_.header);
  const auto at = static_cast<std::size_t>(n - first_);
  // Held only when it is a slot of the block as read, and its bytes stay inside it.
  if (n < first_ || at >= slots_ || slot.size() != length || static_cast<std::size_t>(got_) < (at + 1) * length) {
    if (!WriteChanged()) return false;
    refused_ = !WriteEntry(store_, record, store_.header, n, store_.entryFile);
    return !refused_;
  }
  std::copy(slot.begin(), slot.end(), block_.begin() + static_cast<std::ptrdiff_t>(at * length));
  changedFrom_ = Holding() ? std::min(changedFrom_, at * length) : at * length;
  changedTo_ = std::max(changedTo_, (at + 1) * length);
  return true;
}

bool EntryReader::WriteChanged() {
  if (refused_ || !Holding()) return !refused_;
  const std::string_view changed(block_.data() + changedFrom_, changedTo_ - changedFrom_);
  const auto offset =
      static_cast<std::int64_t>(store_.header.EntryLength) * first_ + static_cast<std::int64_t>(changedFrom_);
  refused_ = !WriteBlock(store_, store_.entryFile, offset, changed);
  if (!refused_) changedFrom_ = changedTo_ = 0;
  return !refused_;
}

bool EntryReader::Read(EntryNumber n, EntryRecord& record) {
  if (n < 1 || n > store_.header.Count() || store_.header.EntryLength <= 0) {
    return ReadEntry(store_, record, store_.header, n, store_.entryFile, fields_);
  }
  const char* slot = Slot(n);
  if (slot == nullptr) return false;
  if (slot == blank_.data()) {
    record = BlankEntry(store_.header);
  } else {
    DecodeSlot(record, store_.header, slot, fields_);
  }
  return true;
}

WalkEnd WalkEntries(CatalogStore& store, const std::string& message,
                    const std::function<bool(const EntryRecord&, EntryNumber)>& visit, FieldMask fields) {
  const EntryNumber count = store.header.Count();
  const LongOperation walking(store.ui, {.windowDisabled = true, .gauge = Gauge{static_cast<double>(count), message}});
  WalkEnd end = WalkEnd::kDone;
  EntryRecord record;
  EntryReader reader(store, fields);
  for (EntryNumber n = 1; n <= count && end == WalkEnd::kDone; ++n) {
    if (store.ui.StepGauge()) {
      end = WalkEnd::kCancelled;
    } else if (!reader.Read(n, record) || !visit(record, n)) {
      end = WalkEnd::kFailed;
    }
  }
  return end;
}

}  // namespace vrk
