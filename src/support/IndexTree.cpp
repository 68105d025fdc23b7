#include "support/IndexTree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace vrk::lib::ndx {
namespace {

// The first slot whose item is above `item` (`after`) or not below it; inner pages search from slot
// 1, as slot 0 holds no bound.
std::size_t Bound(const NodeView& node, const Item& item, bool after) {
  std::size_t low = node.leaf() ? 0 : 1;
  std::size_t high = node.count();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const auto order = node.Compare(middle, item);
    if (after ? order <= 0 : order < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

}  // namespace

void Tree::CheckRoot() { Fetch(store_.header().root, LevelAt(0), false); }

bool Tree::Edge(bool last, Path& path) {
  const std::uint32_t root = store_.header().root;
  const NodeView node(Fetch(root, LevelAt(0), false));
  if (node.count() == 0) return false;
  path = {{root, last ? node.count() - 1 : 0}};
  ExtendToLeaf(last, path);
  return true;
}

bool Tree::Seek(const Item& item, bool after, Path& path) {
  path = Descend(item, after);
  const NodeView leaf(Fetch(path.back().page, 0, false));
  if (path.back().slot < leaf.count()) return true;
  if (leaf.count() == 0) return false;
  // Everything here is below `item`; the answer, if any, opens the next leaf.
  path.back().slot = leaf.count() - 1;
  return Step(true, path);
}

bool Tree::Step(bool forward, Path& path) {
  for (std::size_t depth = path.size(); depth-- > 0;) {
    const NodeView node(Fetch(path[depth].page, LevelAt(depth), false));
    const std::size_t slot = path[depth].slot;
    if (forward ? slot + 1 >= node.count() : slot == 0) continue;
    path.resize(depth + 1);
    path.back().slot = forward ? slot + 1 : slot - 1;
    ExtendToLeaf(!forward, path);
    return true;
  }
  return false;
}

Item Tree::At(const Path& path) {
  const NodeView leaf(Fetch(path.back().page, 0, false));
  if (path.back().slot >= leaf.count()) throw Fault{kNdxFailed};
  return leaf.item(path.back().slot);
}

void Tree::Insert(const Item& item) {
  const Path path = Descend(item, true);
  std::array<std::uint8_t, kInnerSlotSize> image{};
  EncodeSlot(image.data(), item, 0);
  bool placed = false;
  for (std::size_t depth = path.size(); depth-- > 0 && !placed;) {
    Node node(Fetch(path[depth].page, LevelAt(depth), true));
    const std::size_t at = node.leaf() ? path[depth].slot : path[depth].slot + 1;
    if (node.count() < node.capacity()) {
      node.Insert(at, image.data());
      placed = true;
    } else {
      Split(path, depth, at, image.data());
    }
  }
  if (!placed) Grow(image.data());
  ++store_.header().itemCount;
  store_.Changed();
}

void Tree::InsertMany(std::vector<Item>& items) {
  std::sort(items.begin(), items.end());
  const Header& header = store_.header();
  if (header.height == 1 && NodeView(Fetch(header.root, 0, false)).count() == 0) {
    Build(items);
  } else {
    for (const Item& item : items) Insert(item);
  }
}

// Builds the tree of sorted `items` in place of the empty root leaf, level by level: each level's
// pages are filled evenly, and each page is known to the next level up by its lowest item.
void Tree::Build(const std::vector<Item>& items) {
  if (items.empty()) return;
  Header& header = store_.header();
  struct Child {
    std::uint32_t page;
    Item lowest;
  };
  std::vector<Child> level;
  std::array<std::uint8_t, kInnerSlotSize> image{};
  std::array<std::uint8_t, kPageSize> slots{};
  // Writes `count` slots, taken from `slotAt`, into a page of the given level.
  const auto writePage = [&](unsigned height, std::uint32_t page, std::size_t count, const auto& slotAt) {
    const std::size_t size = height == 0 ? kLeafSlotSize : kInnerSlotSize;
    for (std::size_t i = 0; i < count; ++i) {
      slotAt(i, image.data());
      std::memcpy(slots.data() + i * size, image.data(), size);
    }
    Node node(store_.Fetch(page, true));
    node.Reset(height);
    node.Fill(0, slots.data(), count);
  };
  // Splits `total` slots into the fewest pages of `capacity`, evenly.
  const auto pagesFor = [](std::size_t total, std::size_t capacity) { return (total + capacity - 1) / capacity; };

  const std::size_t leaves = pagesFor(items.size(), kLeafCapacity);
  for (std::size_t p = 0, from = 0; p < leaves; ++p) {
    const std::size_t to = items.size() * (p + 1) / leaves;
    const std::uint32_t page = p == 0 ? header.root : store_.Allocate();
    writePage(0, page, to - from, [&](std::size_t i, std::uint8_t* slot) { EncodeSlot(slot, items[from + i], 0); });
    level.push_back({page, items[from]});
    from = to;
  }
  unsigned height = 1;
  while (level.size() > 1) {
    if (height >= kMaxHeight) throw Fault{kNdxFailed};
    std::vector<Child> above;
    const std::size_t pages = pagesFor(level.size(), kInnerCapacity);
    for (std::size_t p = 0, from = 0; p < pages; ++p) {
      const std::size_t to = level.size() * (p + 1) / pages;
      const std::uint32_t page = store_.Allocate();
      writePage(height, page, to - from, [&](std::size_t i, std::uint8_t* slot) {
        EncodeSlot(slot, level[from + i].lowest, level[from + i].page);
      });
      above.push_back({page, level[from].lowest});
      from = to;
    }
    level = std::move(above);
    ++height;
  }
  header.root = level.front().page;
  header.height = height;
  header.itemCount += items.size();
  store_.Changed();
}

bool Tree::Erase(const Item& target) {
  Path path;
  if (!Find(target, path)) return false;
  RemoveAt(path);
  std::uint64_t& count = store_.header().itemCount;
  if (count > 0) --count;
  store_.Changed();
  return true;
}

Page& Tree::Fetch(std::uint32_t page, std::size_t level, bool write) {
  Page& bytes = store_.Fetch(page, write);
  const NodeView node(bytes);
  const bool leaf = level == 0;
  if (node.kind() != (leaf ? Kind::kLeaf : Kind::kInner) || node.level() != level ||
      (leaf && node.count() == 0 && page != store_.header().root)) {
    throw Fault{kNdxDamaged};
  }
  return bytes;
}

Page& Tree::FetchChild(const NodeView& parent, std::size_t slot) {
  Page& bytes = Fetch(parent.child(slot), parent.level() - 1, false);
  const NodeView child(bytes);
  const std::size_t first = child.leaf() ? 0 : 1;
  if (child.count() > first &&
      ((slot > 0 && child.Compare(first, parent, slot) < 0) ||
       (slot + 1 < parent.count() && parent.Compare(slot + 1, child, child.count() - 1) < 0))) {
    throw Fault{kNdxDamaged};
  }
  return bytes;
}

Path Tree::Descend(const Item& item, bool after) {
  Path path;
  std::uint32_t page = store_.header().root;
  NodeView node(Fetch(page, LevelAt(0), false));
  while (!node.leaf()) {
    const std::size_t slot = Bound(node, item, after) - 1;
    path.push_back({page, slot});
    page = node.child(slot);
    node = NodeView(FetchChild(node, slot));
  }
  path.push_back({page, Bound(node, item, after)});
  return path;
}

void Tree::ExtendToLeaf(bool last, Path& path) {
  while (path.size() < store_.header().height) {
    const NodeView parent(Fetch(path.back().page, LevelAt(path.size() - 1), false));
    const std::uint32_t page = parent.child(path.back().slot);
    const NodeView child(FetchChild(parent, path.back().slot));
    path.push_back({page, last ? child.count() - 1 : 0});
  }
}

bool Tree::Find(const Item& target, Path& path) {
  // Everyday upkeep files keys with sequence 0, a build in file order with the entry number.
  for (const std::int32_t sequence : {0, target.entry}) {
    Item probe = target;
    probe.sequence = sequence;
    if (Seek(probe, false, path) && At(path) == probe) return true;
  }
  Item first = target;
  first.sequence = std::numeric_limits<std::int32_t>::min();
  first.entry = std::numeric_limits<std::int32_t>::min();
  for (bool more = Seek(first, false, path); more; more = Step(true, path)) {
    const Item item = At(path);
    if (!SameKey(item, target)) return false;
    if (item.entry == target.entry) return true;
  }
  return false;
}

// Splits the full page at `depth` while putting `image` in at slot `at`. Leaves in `image` the slot
// that the parent gets for the new right page: its lowest item and its number.
void Tree::Split(const Path& path, std::size_t depth, std::size_t at, std::uint8_t* image) {
  const std::size_t count = LevelAt(depth) == 0 ? kLeafCapacity : kInnerCapacity;
  // An item going to the very end of the index leaves this page full, so ascending loads pack pages.
  const std::size_t keep = at == count && OnRightEdge(path, depth) ? count : (count + 1) / 2;
  const std::uint32_t rightPage = store_.Allocate();
  Node left(Fetch(path[depth].page, LevelAt(depth), true));
  Node right(store_.Fetch(rightPage, true));
  right.Reset(left.level());
  const std::size_t size = left.slotSize();
  std::array<std::uint8_t, kPageSize + kInnerSlotSize> all;
  std::memcpy(all.data(), left.slot(0), at * size);
  std::memcpy(all.data() + at * size, image, size);
  std::memcpy(all.data() + (at + 1) * size, left.slot(at), (count - at) * size);
  left.Fill(0, all.data(), keep);
  right.Fill(0, all.data() + keep * size, count + 1 - keep);
  EncodeSlot(image, right.item(0), rightPage);
}

bool Tree::OnRightEdge(const Path& path, std::size_t depth) {
  for (std::size_t d = 0; d < depth; ++d) {
    if (path[d].slot + 1 != NodeView(Fetch(path[d].page, LevelAt(d), false)).count()) return false;
  }
  return true;
}

// A new root above the old one and the page split off it (`image`).
void Tree::Grow(const std::uint8_t* image) {
  Header& header = store_.header();
  if (header.height >= kMaxHeight) throw Fault{kNdxFailed};
  const std::uint32_t rootPage = store_.Allocate();
  Node root(store_.Fetch(rootPage, true));
  root.Reset(header.height);
  std::array<std::uint8_t, 2 * kInnerSlotSize> slots{};
  EncodeSlot(slots.data(), Item{}, header.root);  // the item of slot 0 is never compared
  std::memcpy(slots.data() + kInnerSlotSize, image, kInnerSlotSize);
  root.Fill(0, slots.data(), 2);
  header.root = rootPage;
  ++header.height;
}

// Removes the item at `path`. A page left empty leaves the tree (to the free list), so that no empty
// leaf ever has to be walked over.
void Tree::RemoveAt(const Path& path) {
  for (std::size_t depth = path.size(); depth-- > 0;) {
    Node node(Fetch(path[depth].page, LevelAt(depth), true));
    node.Remove(path[depth].slot);
    if (node.count() > 0 || depth == 0) break;
    store_.Release(path[depth].page);
  }
  Shrink();
}

// Drops roots with a single child; an inner root without children becomes an empty leaf.
void Tree::Shrink() {
  Header& header = store_.header();
  while (header.height > 1) {
    const NodeView root(Fetch(header.root, LevelAt(0), false));
    if (root.count() > 1) return;
    if (root.count() == 0) {
      Node(Fetch(header.root, LevelAt(0), true)).Reset(0);
      header.height = 1;
      return;
    }
    const std::uint32_t child = root.child(0);
    store_.Release(header.root);
    header.root = child;
    --header.height;
  }
}

}  // namespace vrk::lib::ndx
