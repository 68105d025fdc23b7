#include "support/IndexHeld.h"

#include <algorithm>
#include <cerrno>

#include "support/IndexStore.h"

namespace vrk::lib::ndx {
namespace {

// Spilled items are leaf slot images; they are written and read this many at a time.
constexpr std::size_t kSlotsPerTransfer = 2048;  // 66 KB
// Below this many items a run is sorted as it is.
constexpr std::size_t kLeastBucketed = 4096;

// The first two key bytes, which order items as their keys do.
std::size_t Bucket(const Item& item) { return std::size_t{item.key[0]} << 8 | item.key[1]; }

// Sorts a run: first into buckets by the first two key bytes (keys are upper-cased text, so a run's
// items fall into a few hundred of them), then each bucket on its own. Each item is compared with a few
// hundred others rather than with a run's worth, which more than pays for the one pass that moves them.
void SortRun(std::vector<Item>& run, std::vector<Item>& spare) {
  if (run.size() < kLeastBucketed) return std::sort(run.begin(), run.end());
  std::vector<std::size_t> start(std::size_t{1} << 16 | 1, 0);
  for (const Item& item : run) ++start[Bucket(item) + 1];
  for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
  spare.resize(run.size());
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (const Item& item : run) spare[next[Bucket(item)]++] = item;
  for (std::size_t b = 0; b + 1 < start.size(); ++b) {
    if (start[b + 1] - start[b] > 1) {
      std::sort(spare.begin() + static_cast<std::ptrdiff_t>(start[b]),
                spare.begin() + static_cast<std::ptrdiff_t>(start[b + 1]));
    }
  }
  run.swap(spare);
}

}  // namespace

HeldKeys::HeldKeys(sys::FileSystem& system, std::string spillPath, std::size_t runLength)
    : system_(system), spillPath_(std::move(spillPath)), runLength_(std::max(runLength, kMinRunLength)) {}

HeldKeys::~HeldKeys() { CloseSpill(); }

// The run grows from small, so that a change that adds a key or two reserves no more than that; a
// spilled run leaves its capacity behind for the next.
void HeldKeys::Add(const Item& item) {
  run_.push_back(item);
  ++count_;
}

void HeldKeys::Spill() {
  if (run_.empty()) return;
  SortRun(run_, spare_);
  if (!spill_.isOpen()) {
    if (sys::OpenFile(system_, spillPath_, sys::Access::kReadWrite, sys::Creation::kReplace, spill_) != 0) {
      throw Fault{kNdxIoError};
    }
    // Without its name the file goes when it is closed, even by a program that is killed meanwhile.
    named_ = sys::RemoveFile(system_, spillPath_) != 0;
    spillEnd_ = 0;
  }
  // EncodeSlot writes an inner slot's child too: room for it past the last leaf slot.
  std::vector<std::uint8_t> images(std::min(run_.size(), kSlotsPerTransfer) * kLeafSlotSize + kInnerSlotSize);
  for (std::size_t from = 0; from < run_.size(); from += kSlotsPerTransfer) {
    const std::size_t slots = std::min(kSlotsPerTransfer, run_.size() - from);
    for (std::size_t i = 0; i < slots; ++i) EncodeSlot(images.data() + i * kLeafSlotSize, run_[from + i], 0);
    if (sys::WriteAt(spill_, spillEnd_ + from * kLeafSlotSize, images.data(), slots * kLeafSlotSize) != 0) {
      throw Fault{kNdxIoError};
    }
  }
  runs_.push_back({spillEnd_, run_.size()});
  spillEnd_ += run_.size() * kLeafSlotSize;
  run_.clear();
}

std::vector<Item> HeldKeys::TakeRun() {
  SortRun(run_, spare_);
  count_ -= run_.size();
  std::vector<Item> taken;
  taken.swap(run_);
  return taken;
}

void HeldKeys::Clear() {
  run_ = {};
  spare_ = {};
  runs_.clear();
  count_ = 0;
  CloseSpill();
}

void HeldKeys::CloseSpill() {
  if (!spill_.isOpen()) return;
  (void)sys::CloseFile(spill_);
  if (named_) (void)sys::RemoveFile(system_, spillPath_);
  named_ = false;
}

HeldKeys::Merge::Merge(HeldKeys& held) : held_(held) {
  SortRun(held.run_, held.spare_);
  sources_.resize(held.runs_.size() + 1);
  for (std::size_t r = 0; r < held.runs_.size(); ++r) {
    sources_[r].offset = held.runs_[r].offset;
    sources_[r].left = held.runs_[r].count;
  }
  Source& memory = sources_.back();
  memory.memory = held.run_.data();
  memory.memoryEnd = held.run_.data() + held.run_.size();
  for (std::size_t s = 0; s < sources_.size(); ++s) {
    if (Advance(sources_[s])) heap_.push_back(s);
  }
  for (std::size_t i = heap_.size() / 2; i-- > 0;) SiftDown(i);
}

bool HeldKeys::Merge::Advance(Source& source) {
  if (source.memory != nullptr) {
    if (source.memory == source.memoryEnd) return false;
    source.head = *source.memory++;
    return true;
  }
  if (source.at == source.filled) {
    if (source.left == 0) return false;
    const std::size_t slots = static_cast<std::size_t>(std::min<std::uint64_t>(source.left, kSlotsPerTransfer));
    source.buffer.resize(slots * kLeafSlotSize);
    std::size_t got = 0;
    if (sys::ReadAt(held_.spill_, source.offset, source.buffer.data(), source.buffer.size(), got) != 0 ||
        got != source.buffer.size()) {
      throw Fault{kNdxIoError};
    }
    source.offset += got;
    source.left -= slots;
    source.at = 0;
    source.filled = slots;
  }
  source.head = DecodeSlot(source.buffer.data() + source.at++ * kLeafSlotSize);
  return true;
}

void HeldKeys::Merge::SiftDown(std::size_t i) {
  for (;;) {
    std::size_t lowest = i;
    for (const std::size_t child : {2 * i + 1, 2 * i + 2}) {
      if (child < heap_.size() && sources_[heap_[child]].head < sources_[heap_[lowest]].head) lowest = child;
    }
    if (lowest == i) return;
    std::swap(heap_[i], heap_[lowest]);
    i = lowest;
  }
}

bool HeldKeys::Merge::Next(Item& item) {
  if (heap_.empty()) return false;
  Source& source = sources_[heap_.front()];
  item = source.head;
  if (!Advance(source)) {
    heap_.front() = heap_.back();
    heap_.pop_back();
  }
  SiftDown(0);
  return true;
}

}  // namespace vrk::lib::ndx
