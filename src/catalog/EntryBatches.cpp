#include "catalog/EntryBatches.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "catalog/FileIo.h"

namespace vrk {
namespace {

// Slots a batch holds at most, and the most one read brings in.
constexpr std::size_t kBatchBytes = 16u << 20;
constexpr std::size_t kBlockBytes = 256u << 10;
// Slots this close are read together: copying the bytes between them costs less than a system call.
constexpr std::size_t kGapBytes = 8u << 10;

}  // namespace

EntryBatches::EntryBatches(CatalogStore& store, Source source)
    : store_(store),
      source_(std::move(source)),
      length_(static_cast<std::size_t>(std::max<short>(store.header.EntryLength, 0))),
      stride_(std::max(length_, SlotLayout(store.header).links + 12)),
      largest_(std::max<std::size_t>(most_, kBatchBytes / stride_)),
      block_(std::max(kBlockBytes, length_)) {}

std::size_t EntryBatches::ReadNeighbours(std::size_t from) {
  const auto numberAt = [&](std::size_t k) { return static_cast<std::size_t>(numbers_[inOrder_[k]]); };
  const std::size_t first = numberAt(from);
  std::size_t to = from + 1;
  for (; to < inOrder_.size(); ++to) {
    const std::size_t n = numberAt(to);
    if ((n - numberAt(to - 1)) * length_ > kGapBytes + length_ || (n - first + 1) * length_ > block_.size()) break;
  }
  const std::size_t span = (numberAt(to - 1) - first + 1) * length_;
  const long got = ReadBlock(store_, store_.entryFile, static_cast<std::int64_t>(first * length_), block_.data(), span);
  if (got < 0) {
    readFailed_ = true;
    return inOrder_.size();
  }
  for (std::size_t k = from; k < to; ++k) {
    const std::size_t at = inOrder_[k], offset = (numberAt(k) - first) * length_;
    blank_[at] = offset >= static_cast<std::size_t>(got);
    char* slot = slots_.data() + at * stride_;
    std::memcpy(slot, block_.data() + offset, length_);
    std::memset(slot + length_, 0, stride_ - length_);
  }
  return to;
}

bool EntryBatches::Fill() {
  numbers_.clear();
  next_ = 0;
  while (numbers_.size() < most_ && sourceEnd_ > 0) {
    sourceEnd_ = source_();
    if (sourceEnd_ > 0) numbers_.push_back(sourceEnd_);
  }
  most_ = std::min(most_ * 2, largest_);
  inOrder_.resize(numbers_.size());
  std::iota(inOrder_.begin(), inOrder_.end(), 0u);
  std::sort(inOrder_.begin(), inOrder_.end(),
            [&](std::uint32_t a, std::uint32_t b) { return numbers_[a] < numbers_[b]; });
  slots_.resize(numbers_.size() * stride_);
  blank_.assign(numbers_.size(), false);
  for (std::size_t k = 0; k < inOrder_.size();) k = ReadNeighbours(k);
  return !readFailed_;
}

EntryNumber EntryBatches::Next(EntryRecord& record, FieldMask fields) {
  if (next_ == numbers_.size()) {
    if (readFailed_) return -1;
    if (sourceEnd_ <= 0) return sourceEnd_ < 0 ? -1 : 0;
    if (!Fill()) return -1;
    if (numbers_.empty()) return sourceEnd_ < 0 ? -1 : 0;
  }
  ++next_;
  Decode(record, fields);
  return numbers_[next_ - 1];
}

void EntryBatches::Decode(EntryRecord& record, FieldMask fields) const {
  const std::size_t at = next_ - 1;
  if (blank_[at]) {
    record = BlankEntry(store_.header);
  } else {
    DecodeSlot(record, store_.header, slots_.data() + at * stride_, fields);
  }
}

}  // namespace vrk
