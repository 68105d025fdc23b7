// Layout of an index file (.WDX). The file is a row of 4096-byte pages, numbered from 0:
//   page 0        the header: magic, format version, page size, page count, root, height, free list,
//                 item count and the "not closed cleanly" flag;
//   other pages   tree pages (leaf or inner) and free pages.
// Every page starts with the same 16 bytes: a checksum of the rest of the page, the page's own number,
// its kind, its level in the tree (0 for leaves), its count of slots and a link (the next free page).
// A leaf slot is one item; an inner slot is an item and a child page number, where the item of slot
// i > 0 is the lowest item of child i and the item of slot 0 is not used. Numbers are little-endian.
//
// Order of writes. Before anything of a change reaches the file, the header is written with the flag
// set and put on the disk; then the changed pages are written (in any order); they are put on the
// disk, and only then is the header written with the flag cleared. A file found with the flag set may
// hold half a change and is rebuilt. A tree built from the bottom up (into an empty index) is written
// the same way, its pages in the order of their numbers from page 1 on: each level's pages in key
// order, every page right after the last of its children, so that the root comes last; a longer file
// (free pages of the emptied tree) is then cut after the root.
//
// The header may also tell how many entries of its catalog the index follows ("covers"), as the
// program recorded when it last marked the file whole. An index whose count differs from its
// catalog's is in doubt as a marked one is. That lets an append, a change that only files the keys of
// entries added after those counted, go without the flag: its entries go on the disk first, then the
// changed pages, then the header with the new count. Killed before that header, the file still counts
// the entries before the append, fewer than the catalog has, and no page of it was written before the
// entries were on the disk. Setting the flag drops the count until the change records it again.
#pragma once

#include <array>
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "support/IndexFile.h"

namespace vrk::lib::ndx {

inline constexpr std::size_t kPageSize = 4096;
inline constexpr std::uint32_t kFormatVersion = 1;
inline constexpr std::size_t kMaxHeight = 16;  // half-full pages reach 2^32 pages within seven levels

using Page = std::array<std::uint8_t, kPageSize>;

enum class Kind : std::uint8_t { kHeader = 'H', kLeaf = 'L', kInner = 'I', kFree = 'F' };

// One index item. The key is stored upper-cased and right-trimmed, zero-filled past its length, so
// that comparing the key arrays byte by byte and then the lengths orders keys as texts.
struct Item {
  std::array<std::uint8_t, kMaxKeyLength> key{};
  std::uint8_t length = 0;
  std::int32_t sequence = 0;
  std::int32_t entry = 0;

  // Defined here so that sorting a rebuild's keys, which spends its time here, can inline it.
  friend std::strong_ordering operator<=>(const Item& a, const Item& b) {
    for (std::size_t i = 0; i < kMaxKeyLength; i += 8) {
      const std::uint64_t x = KeyWord(a.key.data() + i), y = KeyWord(b.key.data() + i);
      if (x != y) return x <=> y;
    }
    if (a.length != b.length) return a.length <=> b.length;
    if (a.sequence != b.sequence) return a.sequence <=> b.sequence;
    return a.entry <=> b.entry;
  }
  friend bool operator==(const Item& a, const Item& b) = default;

  // Eight key bytes as a number that orders as the bytes do.
  static std::uint64_t KeyWord(const std::uint8_t* p) {
    static_assert(kMaxKeyLength % 8 == 0);
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
  }
};

// The stored form of a key: its first 24 bytes, upper-cased in code page 1252, trailing blanks removed.
Item MakeItem(std::string_view key, std::int32_t sequence, std::int32_t entry);
bool SameKey(const Item& a, const Item& b);

// The page head.
inline constexpr std::size_t kChecksumAt = 0, kNumberAt = 4, kKindAt = 8, kLevelAt = 9, kCountAt = 10, kLinkAt = 12,
                             kPageHeadSize = 16;
inline constexpr std::size_t kItemSize = kMaxKeyLength + 1 + 4 + 4;
inline constexpr std::size_t kLeafSlotSize = kItemSize;
inline constexpr std::size_t kInnerSlotSize = kItemSize + 4;
inline constexpr std::size_t kLeafCapacity = (kPageSize - kPageHeadSize) / kLeafSlotSize;
inline constexpr std::size_t kInnerCapacity = (kPageSize - kPageHeadSize) / kInnerSlotSize;

// A tree page seen through its layout.
class NodeView {
 public:
  explicit NodeView(const Page& page) : page_(&page) {}

  Kind kind() const { return static_cast<Kind>((*page_)[kKindAt]); }
  bool leaf() const { return kind() == Kind::kLeaf; }
  unsigned level() const { return (*page_)[kLevelAt]; }
  std::size_t count() const { return (*page_)[kCountAt] | ((*page_)[kCountAt + 1] << 8); }
  std::size_t slotSize() const { return leaf() ? kLeafSlotSize : kInnerSlotSize; }
  std::size_t capacity() const { return leaf() ? kLeafCapacity : kInnerCapacity; }

  const std::uint8_t* slot(std::size_t i) const { return page_->data() + kPageHeadSize + i * slotSize(); }
  Item item(std::size_t i) const;
  // item(i).entry, without decoding the rest.
  std::int32_t entry(std::size_t i) const;
  std::uint32_t child(std::size_t i) const;
  // item(i) <=> `item`, without decoding the slot.
  std::strong_ordering Compare(std::size_t i, const Item& item) const;
  // item(i) <=> other.item(j), without decoding either slot.
  std::strong_ordering Compare(std::size_t i, const NodeView& other, std::size_t j) const;

 private:
  const Page* page_;
};

// A tree page being changed.
class Node : public NodeView {
 public:
  explicit Node(Page& page) : NodeView(page), page_(&page) {}

  using NodeView::slot;
  std::uint8_t* slot(std::size_t i) { return page_->data() + kPageHeadSize + i * slotSize(); }
  // Clears the page into an empty tree page of that level (0 is a leaf).
  void Reset(unsigned level);
  // Copies `slots` slot images from `source` to slot `at` on and sets the count to at + slots.
  void Fill(std::size_t at, const std::uint8_t* source, std::size_t slots);
  void Insert(std::size_t i, const std::uint8_t* image);
  void Remove(std::size_t i);

 private:
  void SetCount(std::size_t count);
  Page* page_;
};

// Writes the slot image of an item (and, for an inner slot, its child) into `image`.
void EncodeSlot(std::uint8_t* image, const Item& item, std::uint32_t child);
// The item of a slot image.
Item DecodeSlot(const std::uint8_t* image);

// Free pages form a list through the link field of their page head.
void MakeFree(Page& page, std::uint32_t next);
std::uint32_t FreeNext(const Page& page);

struct Header {
  std::uint32_t pageCount = 2;
  std::uint32_t root = 1;
  std::uint32_t height = 1;
  std::uint32_t freeHead = 0;  // 0: no free page
  std::uint64_t itemCount = 0;
  bool unclean = false;                 // set while modifications may be only partly on disk
  std::optional<std::uint64_t> covers;  // the entries of the catalog the index follows, when known
};

void EncodeHeader(const Header& header, Page& page);
// False when page 0 is no index header of this format or disagrees with the file's length.
bool DecodeHeader(const Page& page, std::uint64_t fileSize, Header& header);

// Stamps the page's number and checksum before it goes to disk.
void Seal(Page& page, std::uint32_t number);
// Checks a tree or free page read from disk: checksum, number, kind, counts, child numbers below
// `pageCount`, items in stored form and in order.
bool ValidPage(const Page& page, std::uint32_t number, std::uint32_t pageCount);

}  // namespace vrk::lib::ndx
