// Entries in their fixed-length slots of the entry file: entry n starts at byte EntryLength × n.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

// A set of fields by field index: bit i stands for field index i.
using FieldMask = std::uint32_t;
inline constexpr FieldMask kAllFields = (FieldMask{1} << kFieldCount) - 1;

// Reads entry n. False for a number below 1 ("Bad RecNum") or a read the disk refused. A slot beyond
// the end of the file reads as a blank record with status 0. Only the fields of `fields` are read
// into the record; the others keep what they held, so that a pass over every entry that needs a few
// fields (the totals) decodes no more.
[[nodiscard]] bool ReadEntry(CatalogStore& store, EntryRecord& record, const CatalogHeader& header, EntryNumber n,
                             int file, FieldMask fields = kAllFields);
// Writes entry n; every used field must already be exactly FieldLength characters long (longer text is
// cut, shorter padded, so that a slot never spills into the next). False when nothing was written.
[[nodiscard]] bool WriteEntry(CatalogStore& store, const EntryRecord& record, const CatalogHeader& header,
                              EntryNumber n, int file);

// The bytes WriteEntry writes for entry n at byte EntryLength × n.
std::string EntrySlot(const EntryRecord& record, const CatalogHeader& header);

// Reads entries in entry order many slots at a time, straight into a block of its own, and decodes
// each from there (only the fields of `fields`): a pass over every entry without a system call or a
// copy per entry. Entries that are not next in order are read as ReadEntry reads them. Nothing but
// the reader's Write may write the entries while a reader is in use.
class EntryReader {
 public:
  EntryReader(CatalogStore& store, FieldMask fields = kAllFields);
  ~EntryReader() { (void)WriteChanged(); }  // best effort: callers that care call WriteChanged
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;
  // As ReadEntry(store, record, store.header, n, store.entryFile, fields).
  [[nodiscard]] bool Read(EntryNumber n, EntryRecord& record);
  // The bytes of slot n as stored, for a test that needs nothing decoded: a blank entry's beyond the
  // end of the file or outside entries 1 to EntryCount; nullptr after a read the disk refused, or a
  // refused write of the changed slots of the block before. Valid until the next call. Walking down,
  // the block read ends at n.
  [[nodiscard]] const char* Slot(EntryNumber n);
  // Writes `record` as entry n of the block read. The slot changes in the block, and the block's
  // changed slots go to the file in one write, with the slots between them as they were read, when the
  // reader reads another block or at WriteChanged: a pass that changes scattered entries makes one
  // write a block, not one an entry. False, with the failure said, when a write was refused.
  [[nodiscard]] bool Write(EntryNumber n, const EntryRecord& record);
  // Writes the changed slots still held. False, with the failure said, when this or any earlier write
  // of the reader was refused: nothing is written after that, and the slots of a refused write stay held.
  [[nodiscard]] bool WriteChanged();
  // Whether changed slots are held that are not known to be in the file.
  bool Holding() const { return changedFrom_ != changedTo_; }

 private:
  CatalogStore& store_;
  FieldMask fields_;
  std::vector<char> block_;
  std::vector<char> blank_;  // the slot of BlankEntry
  EntryNumber first_ = 0;    // entry number of the block's first slot
  std::size_t slots_ = 0;    // slots read into the block
  long got_ = 0;             // bytes read into it
  // The block's changed slots, from `changedFrom_` up to `changedTo_`; none when they are equal.
  std::size_t changedFrom_ = 0;
  std::size_t changedTo_ = 0;
  bool refused_ = false;  // a write was refused: the reader writes no more
};

// How a walk over the entries ended.
enum class WalkEnd {
  kDone,
  kCancelled,  // the user pressed the gauge's Cancel
  kFailed,     // an entry could not be read, or `visit` refused one; its message has been shown
};
// Reads entries 1 to EntryCount in order (only the fields of `fields`) and hands each to `visit`, which
// returns false to stop, with the gauge showing `message` and its Cancel enabled, and the main window
// disabled meanwhile.
[[nodiscard]] WalkEnd WalkEntries(CatalogStore& store, const std::string& message,
                                  const std::function<bool(const EntryRecord&, EntryNumber)>& visit,
                                  FieldMask fields = kAllFields);

// A record of blank fields of the header's lengths, status 0.
EntryRecord BlankEntry(const CatalogHeader& header);

// ---- Slots as stored --------------------------------------------------------------------------------
// Passes that move, rebuild, copy or relink entries work on the slots' bytes: what a field stores is
// carried over exactly (characters of code page 437 that code page 1252 lacks included, which a
// decoded record would turn into look-alikes), and nothing is decoded that need not be.

// Where the parts of a slot lie: the status at 0, each used field at its offset, then NextSorted,
// PrevSorted and MemoNumber from `links` on, and zeros up to the slot's length.
struct SlotLayout {
  explicit SlotLayout(const CatalogHeader& header);
  std::array<std::size_t, kFieldCount> field{};
  std::size_t links = 0;
  std::size_t length = 0;  // EntryLength
};

// The record of a slot (only the fields of `fields`).
void DecodeSlot(EntryRecord& record, const CatalogHeader& header, const char* slot, FieldMask fields = kAllFields);

// Hands the slots of entries first to last (at most EntryCount) to `visit` in entry order, many read at
// a time; `visit` may change a slot's bytes, and with `writeBack` every block is written back as
// `visit` left it. False after the message of a read or write the disk refused, or when `visit`
// returned false.
[[nodiscard]] bool VisitSlots(CatalogStore& store, int file, const CatalogHeader& header, EntryNumber first,
                              EntryNumber last, bool writeBack,
                              const std::function<bool(EntryNumber, char* slot)>& visit);

}  // namespace vrk
