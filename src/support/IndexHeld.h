// Keys added in a row, held back so that they are filed together. They gather in a run of bounded
// length; while the index is empty, each full run is sorted and spilled to a temporary file beside
// the index, and filing merges the runs into one stream in order, from which the tree is built once
// from the bottom up. Memory stays bounded however many keys a rebuild adds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/IndexFormat.h"

namespace vrk::lib::ndx {

inline constexpr std::size_t kMinRunLength = 2;

// Items in order, one at a time.
class ItemSource {
 public:
  virtual ~ItemSource() = default;
  // The next item; false after the last.
  virtual bool Next(Item& item) = 0;
};

class HeldKeys {
 public:
  // Runs are spilled to the file `spillPath`, which is made when the first run spills and removed
  // again at once (the open file keeps its data), or, where the file system does not allow that,
  // when the keys are filed or dropped.
  // `runLength` keys are held in memory before a run spills or is filed.
  HeldKeys(sys::FileSystem& system, std::string spillPath, std::size_t runLength);
  ~HeldKeys();
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

  bool empty() const { return count_ == 0; }
  std::uint64_t size() const { return count_; }
  bool spilled() const { return !runs_.empty(); }
  // The run in memory is full: the caller spills it or files it.
  bool full() const { return run_.size() >= runLength_; }

  void Add(const Item& item);
  // Sorts the run in memory and writes it to the spill file. Throws Fault.
  void Spill();
  // The run in memory, sorted, for filing into a tree that holds items already; it is taken over.
  std::vector<Item> TakeRun();
  // Every item held, in order, for as long as the source lives; Clear afterwards. Throws Fault.
  class Merge;
  // Drops what is held and the spill file.
  void Clear();

 private:
  struct Run {
    std::uint64_t offset;
    std::uint64_t count;
  };
  void CloseSpill();

  sys::FileSystem& system_;
  std::string spillPath_;
  std::size_t runLength_;
  std::vector<Item> run_;
  std::vector<Item> spare_;  // what a run is sorted into
  std::uint64_t count_ = 0;
  std::vector<Run> runs_;
  sys::FileHandle spill_;
  bool named_ = false;  // the spill file still has its name
  std::uint64_t spillEnd_ = 0;
};

// Merges the runs of `held` in order: every spilled run and the run in memory.
class HeldKeys::Merge final : public ItemSource {
 public:
  explicit Merge(HeldKeys& held);
  bool Next(Item& item) override;

 private:
  struct Source {
    Item head;
    std::uint64_t offset = 0;  // next slot to read from the spill file
    std::uint64_t left = 0;    // slots of the run not yet read into `buffer`
    std::vector<std::uint8_t> buffer;
    std::size_t at = 0, filled = 0;  // slots in `buffer`
    const Item* memory = nullptr;    // the run in memory instead of a spilled one
    const Item* memoryEnd = nullptr;
  };
  bool Advance(Source& source);
  void SiftDown(std::size_t i);

  HeldKeys& held_;
  std::vector<Source> sources_;
  std::vector<std::size_t> heap_;  // sources with a head, the lowest first
};

}  // namespace vrk::lib::ndx
