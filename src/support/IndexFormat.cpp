#include "support/IndexFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/CodePage.h"

namespace vrk::lib::ndx {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'V', 'R', 'K', 'N', 'D', 'X', 0x1A, 0x00};
constexpr std::uint32_t kUncleanFlag = 1, kCoversFlag = 2;

// Offsets of the header fields on page 0.
constexpr std::size_t kMagicAt = 16, kVersionAt = 24, kPageSizeAt = 28, kPageCountAt = 32, kRootAt = 36, kHeightAt = 40,
                      kFreeHeadAt = 44, kFlagsAt = 48, kItemCountAt = 56, kCoversAt = 64;
// Offsets in a slot.
constexpr std::size_t kLengthAt = kMaxKeyLength, kSequenceAt = kLengthAt + 1, kEntryAt = kSequenceAt + 4,
                      kChildAt = kItemSize;

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint64_t Get64(const std::uint8_t* p) { return Get32(p) | (std::uint64_t{Get32(p + 4)} << 32); }
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put64(std::uint8_t* p, std::uint64_t v) {
  Put32(p, static_cast<std::uint32_t>(v));
  Put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t Checksum(const Page& page) {
  constexpr std::uint64_t kMultiplier = 0xFF51AFD7ED558CCDu;
  // Four lanes, so that the multiplications of neighbouring words overlap.
  std::array<std::uint64_t, 4> lanes = {0x9E3779B97F4A7C15u, 0xC2B2AE3D27D4EB4Fu, 0x165667B19E3779F9u,
                                        0x27D4EB2F165667C5u};
  for (std::size_t i = 0; i < kPageSize; i += 8) {
    // The checksum's own four bytes count as zero.
    const std::uint64_t word = i == 0 ? Get64(page.data()) & ~std::uint64_t{0xFFFFFFFF} : Get64(page.data() + i);
    std::uint64_t& lane = lanes[(i / 8) % 4];
    lane = (lane ^ word) * kMultiplier;
    lane ^= lane >> 29;
  }
  std::uint64_t h = lanes[0] ^ std::rotl(lanes[1], 16) ^ std::rotl(lanes[2], 32) ^ std::rotl(lanes[3], 48);
  h = (h ^ (h >> 33)) * kMultiplier;
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// Orders a stored item, given field by field, against another: key bytes, key length, sequence, entry.
std::strong_ordering Order(const std::uint8_t* key, std::uint8_t length, std::int32_t sequence, std::int32_t entry,
                           const std::uint8_t* otherKey, std::uint8_t otherLength, std::int32_t otherSequence,
                           std::int32_t otherEntry) {
  // The keys compared eight bytes at a time.
  for (std::size_t i = 0; i < kMaxKeyLength; i += 8) {
    const std::uint64_t a = Item::KeyWord(key + i), b = Item::KeyWord(otherKey + i);
    if (a != b) return a <=> b;
  }
  if (length != otherLength) return length <=> otherLength;
  if (sequence != otherSequence) return sequence <=> otherSequence;
  return entry <=> otherEntry;
}

std::strong_ordering Order(const std::uint8_t* key, std::uint8_t length, std::int32_t sequence, std::int32_t entry,
                           const Item& b) {
  return Order(key, length, sequence, entry, b.key.data(), b.length, b.sequence, b.entry);
}

// The bytes that upper-casing leaves as they are.
const std::array<bool, 256> kFolded = [] {
  std::array<bool, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(UpperAnsi(static_cast<char>(i))) == i;
  return table;
}();

// Stored form: no longer than a key, zero past its length, upper-cased, no trailing blank.
bool StoredForm(const std::uint8_t* slot) {
  const std::size_t length = slot[kLengthAt];
  if (length > kMaxKeyLength) return false;
  if (length > 0 && slot[length - 1] == ' ') return false;
  bool ok = true;
  for (std::size_t i = 0; i < length; ++i) ok &= kFolded[slot[i]];
  for (std::size_t i = length; i < kMaxKeyLength; ++i) ok &= slot[i] == 0;
  return ok;
}

bool ValidTreePage(const Page& page, std::uint32_t pageCount) {
  const NodeView node(page);
  const std::size_t count = node.count();
  if (node.leaf() ? node.level() != 0 : node.level() == 0 || node.level() >= kMaxHeight) return false;
  if (count > node.capacity() || (!node.leaf() && count == 0) || Get32(page.data() + kLinkAt) != 0) {
    return false;
  }
  // Slot 0 of an inner page holds no bound, so order starts at slot 1 there. Every page read from the
  // disk is checked, so the slots are checked as they lie, without decoding them.
  const std::size_t ordered = node.leaf() ? 0 : 1;
  for (std::size_t i = 0; i < count; ++i) {
    if (!StoredForm(node.slot(i)) || (i > ordered && node.Compare(i, node, i - 1) < 0)) return false;
    if (!node.leaf() && (node.child(i) == 0 || node.child(i) >= pageCount)) return false;
  }
  return true;
}

}  // namespace

Item MakeItem(std::string_view key, std::int32_t sequence, std::int32_t entry) {
  static const std::array<std::uint8_t, 256> upper = [] {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(UpperAnsi(static_cast<char>(i)));
    return table;
  }();
  Item item;
  item.sequence = sequence;
  item.entry = entry;
  std::size_t length = std::min(key.size(), kMaxKeyLength);
  for (std::size_t i = 0; i < length; ++i) item.key[i] = upper[static_cast<std::uint8_t>(key[i])];
  while (length > 0 && item.key[length - 1] == ' ') item.key[--length] = 0;
  item.length = static_cast<std::uint8_t>(length);
  return item;
}

bool SameKey(const Item& a, const Item& b) { return a.length == b.length && a.key == b.key; }

void Node::SetCount(std::size_t count) {
  (*page_)[kCountAt] = static_cast<std::uint8_t>(count);
  (*page_)[kCountAt + 1] = static_cast<std::uint8_t>(count >> 8);
}

std::strong_ordering NodeView::Compare(std::size_t i, const Item& item) const {
  const std::uint8_t* s = slot(i);
  return Order(s, s[kLengthAt], static_cast<std::int32_t>(Get32(s + kSequenceAt)),
               static_cast<std::int32_t>(Get32(s + kEntryAt)), item);
}

std::strong_ordering NodeView::Compare(std::size_t i, const NodeView& other, std::size_t j) const {
  const std::uint8_t* s = slot(i);
  const std::uint8_t* o = other.slot(j);
  return Order(s, s[kLengthAt], static_cast<std::int32_t>(Get32(s + kSequenceAt)),
               static_cast<std::int32_t>(Get32(s + kEntryAt)), o, o[kLengthAt],
               static_cast<std::int32_t>(Get32(o + kSequenceAt)), static_cast<std::int32_t>(Get32(o + kEntryAt)));
}

Item NodeView::item(std::size_t i) const { return DecodeSlot(slot(i)); }

std::int32_t NodeView::entry(std::size_t i) const { return static_cast<std::int32_t>(Get32(slot(i) + kEntryAt)); }

std::uint32_t NodeView::child(std::size_t i) const { return Get32(slot(i) + kChildAt); }

void Node::Reset(unsigned level) {
  page_->fill(0);
  (*page_)[kKindAt] = static_cast<std::uint8_t>(level == 0 ? Kind::kLeaf : Kind::kInner);
  (*page_)[kLevelAt] = static_cast<std::uint8_t>(level);
}

void Node::Fill(std::size_t at, const std::uint8_t* source, std::size_t slots) {
  std::memcpy(slot(at), source, slots * slotSize());
  // Bytes past the last slot stay zero so that pages never carry stale items.
  std::fill(slot(at + slots), page_->data() + kPageSize, 0);
  SetCount(at + slots);
}

void Node::Insert(std::size_t i, const std::uint8_t* image) {
  const std::size_t n = count();
  std::memmove(slot(i + 1), slot(i), (n - i) * slotSize());
  std::memcpy(slot(i), image, slotSize());
  SetCount(n + 1);
}

void Node::Remove(std::size_t i) {
  const std::size_t n = count();
  std::memmove(slot(i), slot(i + 1), (n - i - 1) * slotSize());
  std::fill(slot(n - 1), slot(n), 0);
  SetCount(n - 1);
}

void EncodeSlot(std::uint8_t* image, const Item& item, std::uint32_t child) {
  std::memcpy(image, item.key.data(), kMaxKeyLength);
  image[kLengthAt] = item.length;
  Put32(image + kSequenceAt, static_cast<std::uint32_t>(item.sequence));
  Put32(image + kEntryAt, static_cast<std::uint32_t>(item.entry));
  Put32(image + kChildAt, child);
}

Item DecodeSlot(const std::uint8_t* image) {
  Item item;
  std::memcpy(item.key.data(), image, kMaxKeyLength);
  item.length = image[kLengthAt];
  item.sequence = static_cast<std::int32_t>(Get32(image + kSequenceAt));
  item.entry = static_cast<std::int32_t>(Get32(image + kEntryAt));
  return item;
}

void MakeFree(Page& page, std::uint32_t next) {
  page.fill(0);
  page[kKindAt] = static_cast<std::uint8_t>(Kind::kFree);
  Put32(page.data() + kLinkAt, next);
}

std::uint32_t FreeNext(const Page& page) { return Get32(page.data() + kLinkAt); }

void EncodeHeader(const Header& header, Page& page) {
  page.fill(0);
  page[kKindAt] = static_cast<std::uint8_t>(Kind::kHeader);
  std::copy(kMagic.begin(), kMagic.end(), page.begin() + kMagicAt);
  Put32(page.data() + kVersionAt, kFormatVersion);
  Put32(page.data() + kPageSizeAt, kPageSize);
  Put32(page.data() + kPageCountAt, header.pageCount);
  Put32(page.data() + kRootAt, header.root);
  Put32(page.data() + kHeightAt, header.height);
  Put32(page.data() + kFreeHeadAt, header.freeHead);
  Put32(page.data() + kFlagsAt, (header.unclean ? kUncleanFlag : 0) | (header.covers ? kCoversFlag : 0));
  Put64(page.data() + kItemCountAt, header.itemCount);
  Put64(page.data() + kCoversAt, header.covers.value_or(0));
}

bool DecodeHeader(const Page& page, std::uint64_t fileSize, Header& header) {
  if (Get32(page.data() + kChecksumAt) != Checksum(page) || Get32(page.data() + kNumberAt) != 0 ||
      page[kKindAt] != static_cast<std::uint8_t>(Kind::kHeader) ||
      !std::equal(kMagic.begin(), kMagic.end(), page.begin() + kMagicAt) ||
      Get32(page.data() + kVersionAt) != kFormatVersion || Get32(page.data() + kPageSizeAt) != kPageSize) {
    return false;
  }
  const std::uint32_t flags = Get32(page.data() + kFlagsAt);
  header.pageCount = Get32(page.data() + kPageCountAt);
  header.root = Get32(page.data() + kRootAt);
  header.height = Get32(page.data() + kHeightAt);
  header.freeHead = Get32(page.data() + kFreeHeadAt);
  header.itemCount = Get64(page.data() + kItemCountAt);
  header.unclean = (flags & kUncleanFlag) != 0;
  header.covers.reset();
  if ((flags & kCoversFlag) != 0) header.covers = Get64(page.data() + kCoversAt);
  return (flags & ~(kUncleanFlag | kCoversFlag)) == 0 && header.pageCount >= 2 &&
         fileSize == std::uint64_t{header.pageCount} * kPageSize && header.root >= 1 &&
         header.root < header.pageCount && header.height >= 1 && header.height <= kMaxHeight &&
         header.freeHead < header.pageCount && header.freeHead != header.root &&
         header.itemCount <= std::uint64_t{header.pageCount} * kLeafCapacity;
}

void Seal(Page& page, std::uint32_t number) {
  Put32(page.data() + kNumberAt, number);
  Put32(page.data() + kChecksumAt, Checksum(page));
}

bool ValidPage(const Page& page, std::uint32_t number, std::uint32_t pageCount) {
  if (Get32(page.data() + kChecksumAt) != Checksum(page) || Get32(page.data() + kNumberAt) != number) {
    return false;
  }
  switch (static_cast<Kind>(page[kKindAt])) {
    case Kind::kLeaf:
    case Kind::kInner: return ValidTreePage(page, pageCount);
    case Kind::kFree: return FreeNext(page) < pageCount && FreeNext(page) != number;
    default: return false;
  }
}

}  // namespace vrk::lib::ndx
