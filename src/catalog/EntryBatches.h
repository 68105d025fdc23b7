// Entries in the order a walk visits them (a key index, the sorted chain), which jumps about the
// entry file. The walk's next entry numbers, a batch at a time, are read in file order, neighbours
// together in one block read, and handed back in walk order: a walk costs a system call per block
// rather than one per entry. A batch starts small and doubles up to a few megabytes of slots, so that
// a walk that ends early has read little ahead.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "catalog/EntryFile.h"

namespace vrk {

class EntryBatches {
 public:
  // The walk's next entry number: 0 at its end, below 0 after a failure it has reported.
  using Source = std::function<EntryNumber()>;
  EntryBatches(CatalogStore& store, Source source);

  // The next entry of the walk, decoded into `record` (only the fields of `fields`; a blank entry
  // beyond the end of the file) as ReadEntry reads it. 0 at the walk's end, -1 after a failure that
  // has been reported.
  EntryNumber Next(EntryRecord& record, FieldMask fields = kAllFields);
  // The fields of `fields` of the entry Next handed back last.
  void Decode(EntryRecord& record, FieldMask fields) const;

 private:
  bool Fill();
  // Reads the batch's slots from `from` on (in file order) that lie close enough together for one
  // read; the position in file order after them.
  std::size_t ReadNeighbours(std::size_t from);

  CatalogStore& store_;
  Source source_;
  std::size_t length_;                  // EntryLength
  std::size_t stride_;                  // room for a slot: its length, at least what DecodeSlot reads
  std::size_t most_ = 16;               // numbers the next batch takes
  std::size_t largest_;                 // numbers a batch takes at most
  std::vector<EntryNumber> numbers_;    // the batch in walk order
  std::vector<std::uint32_t> inOrder_;  // positions in `numbers_`, in file order
  std::vector<char> slots_;             // the batch's slots, in walk order
  std::vector<bool> blank_;             // slots beyond the end of the file
  std::vector<char> block_;             // one read of neighbours
  std::size_t next_ = 0;                // position in `numbers_` handed back next
  EntryNumber sourceEnd_ = 1;           // the source's last answer: at its end when 0, failed below 0
  bool readFailed_ = false;
};

}  // namespace vrk
