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
  Descend(item, after, path);
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

bool Tree::VisitEntries(const std::function<bool(std::int32_t entry)>& visit) {
  Path path;
  for (bool more = Edge(false, path); more;) {
    // Copied first: `visit` may use the index, and the page's frame with it.
    std::array<std::int32_t, kLeafCapacity> entries;
    const NodeView leaf(Fetch(path.back().page, 0, false));
    const std::size_t count = std::min(leaf.count(), entries.size());
    for (std::size_t i = 0; i < count; ++i) entries[i] = leaf.entry(i);
    for (std::size_t i = path.back().slot; i < count; ++i) {
      if (!visit(entries[i])) return false;
    }
    path.back().slot = count - 1;
    more = Step(true, path);
  }
  return true;
}

Item Tree::At(const Path& path) {
  const NodeView leaf(Fetch(path.back().page, 0, false));
  if (path.back().slot >= leaf.count()) throw Fault{kNdxFailed};
  return leaf.item(path.back().slot);
}

void Tree::Insert(const Item& item) {
  Path& path = scratch_;
  Descend(item, true, path);
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

bool Tree::Empty() {
  const Header& header = store_.header();
  return header.height == 1 && NodeView(Fetch(header.root, 0, false)).count() == 0;
}

void Tree::InsertInOrder(const std::vector<Item>& items) {
  for (const Item& item : items) Insert(item);
}

namespace {

// The pages of a tree being built: one page in the making per level; a finished page takes the next
// page number and goes into a batch of pages written together, and the page above gets a slot for it.
class Builder {
 public:
  Builder(Store& store, std::uint64_t count) : store_(store) {
    // Slots and pages per level, from the leaves up, until a level fits into one page.
    std::uint64_t slots = count;
    for (;;) {
      if (levels_.size() >= kMaxHeight) throw Fault{kNdxFailed};
      const std::size_t capacity = levels_.empty() ? kLeafCapacity : kInnerCapacity;
      Level& level = levels_.emplace_back();
      level.slots = slots;
      level.pages = (slots + capacity - 1) / capacity;
      level.target = level.SlotsOfPage(0);
      if (level.pages == 1) break;
      slots = level.pages;
    }
    batch_.resize(kBatchPages);
  }

  std::uint32_t height() const { return static_cast<std::uint32_t>(levels_.size()); }
  std::uint32_t pages() const { return next_ - 1; }

  void Add(const Item& item) {
    std::uint8_t image[kInnerSlotSize];
    EncodeSlot(image, item, 0);
    Place(0, image);
  }

  // Writes what the last batch holds; returns the root.
  std::uint32_t Finish() {
    for (const Level& level : levels_) {
      if (level.done != level.pages) throw Fault{kNdxFailed};  // fewer items than counted
    }
    WriteBatch();
    return next_ - 1;
  }

 private:
  static constexpr std::size_t kBatchPages = 64;  // 256 KB a write

  struct Level {
    std::uint64_t slots = 0, pages = 0;
    std::uint64_t done = 0;  // pages finished
    std::size_t target = 0;  // slots of the page in the making
    std::size_t filled = 0;
    std::array<std::uint8_t, kPageSize> bytes{};  // its slots
    // Even packing: the first slots % pages pages take one slot more than the others.
    std::size_t SlotsOfPage(std::uint64_t page) const {
      return static_cast<std::size_t>(slots / pages + (page < slots % pages ? 1 : 0));
    }
  };

  void Place(std::size_t height, const std::uint8_t* image) {
    Level& level = levels_[height];
    if (level.done == level.pages) throw Fault{kNdxFailed};  // more items than counted
    const std::size_t size = height == 0 ? kLeafSlotSize : kInnerSlotSize;
    std::memcpy(level.bytes.data() + level.filled * size, image, size);
    if (++level.filled == level.target) Complete(height);
  }

  void Complete(std::size_t height) {
    Level& level = levels_[height];
    if (next_ == std::numeric_limits<std::uint32_t>::max()) throw Fault{kNdxFailed};
    const std::uint32_t number = next_++;
    Page& page = batch_[batched_++];
    Node node(page);
    node.Reset(static_cast<unsigned>(height));
    node.Fill(0, level.bytes.data(), level.filled);
    Seal(page, number);
    if (batched_ == kBatchPages) WriteBatch();
    ++level.done;
    level.filled = 0;
    if (level.done < level.pages) level.target = level.SlotsOfPage(level.done);
    if (height + 1 < levels_.size()) {
      // The page above knows this page by its lowest item.
      std::uint8_t image[kInnerSlotSize];
      EncodeSlot(image, DecodeSlot(level.bytes.data()), number);
      Place(height + 1, image);
    }
  }

  void WriteBatch() {
    if (batched_ == 0) return;
    store_.WriteBuilt(next_ - static_cast<std::uint32_t>(batched_), batch_.front().data(), batched_);
    batched_ = 0;
  }

  Store& store_;
  std::vector<Level> levels_;
  std::vector<Page> batch_;  // contiguous pages
  std::size_t batched_ = 0;
  std::uint32_t next_ = 1;  // page 0 is the header
};

}  // namespace

void Tree::Build(ItemSource& items, std::uint64_t count) {
  if (count == 0) return;
  store_.StartBuild();
  Builder builder(store_, count);
  Item item;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (!items.Next(item)) throw Fault{kNdxFailed};
    builder.Add(item);
  }
  const std::uint32_t root = builder.Finish();
  store_.EndBuild(builder.pages(), root, builder.height(), count);
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

void Tree::Descend(const Item& item, bool after, Path& path) {
  path.clear();
  std::uint32_t page = store_.header().root;
  NodeView node(Fetch(page, LevelAt(0), false));
  while (!node.leaf()) {
    const std::size_t slot = Bound(node, item, after) - 1;
    path.push_back({page, slot});
    page = node.child(slot);
    node = NodeView(FetchChild(node, slot));
  }
  path.push_back({page, Bound(node, item, after)});
}

void Tree::ExtendToLeaf(bool last, Path& path) {
  while (path.size() < store_.header().height) {
    const NodeView parent(Fetch(path.back().page, LevelAt(path.size() - 1), false));
    const std::uint32_t page = parent.child(path.back().slot);
    const NodeView child(FetchChild(parent, path.back().slot));
    path.push_back({page, last ? child.count() - 1 : 0});
  }
}

bool Tree::Holds(const Item& item, Path& path) { return Seek(item, false, path) && At(path) == item; }

void Tree::MoveItems(std::vector<Move>& moves) {
  // The moves as places in key order: where each item to take out is sought, and where each new one
  // goes. A move whose key stays is one place, done whole: its new item must not be what is found.
  struct Place {
    Item item;
    std::uint32_t move;
    bool out;  // the item to take out is sought here (and, with the move's key kept, the new one goes in)
  };
  std::vector<Place> places;
  places.reserve(moves.size() * 2);
  for (std::size_t k = 0; k < moves.size(); ++k) {
    const Move& move = moves[k];
    const auto index = static_cast<std::uint32_t>(k);
    places.push_back({move.from, index, true});
    if (move.refile && !SameKey(move.from, move.to)) places.push_back({move.to, index, false});
  }
  std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.item < b.item; });
  std::vector<bool> found(moves.size());
  std::vector<std::size_t> sought;  // places of one key not found by the first two probes, by entry
  std::vector<Item> out, in;
  std::uint64_t& count = store_.header().itemCount;
  Path path;
  struct Sweeping {
    explicit Sweeping(Store& store) : store(store) { store.Sweep(true); }
    ~Sweeping() { store.Sweep(false); }
    Store& store;
  } sweeping(store_);
  // Key by key: the items to take out found as Find finds them (sequence 0, else the entry number as
  // sequence, else the lowest sequence among the key's items of the entry), then the key's changes.
  // The new items of other keys, or of other entries, cannot be what a later key's search finds.
  for (std::size_t i = 0; i < places.size();) {
    std::size_t end = i + 1;
    while (end < places.size() && SameKey(places[end].item, places[i].item)) ++end;
    sought.clear();
    for (std::size_t p = i; p < end; ++p) {
      if (!places[p].out) continue;
      Move& move = moves[places[p].move];
      for (const std::int32_t sequence : {0, move.from.entry}) {
        Item probe = move.from;
        probe.sequence = sequence;
        if (Holds(probe, path)) {
          move.from = probe;
          found[places[p].move] = true;
          break;
        }
      }
      if (!found[places[p].move]) sought.push_back(p);
    }
    if (!sought.empty()) {
      // Places of one key are in entry order.
      Item first = places[i].item;
      first.sequence = std::numeric_limits<std::int32_t>::min();
      first.entry = std::numeric_limits<std::int32_t>::min();
      std::size_t left = sought.size();
      for (bool more = Seek(first, false, path); more && left > 0; more = Step(true, path)) {
        const Item item = At(path);
        if (!SameKey(item, first)) break;
        const auto at =
            std::lower_bound(sought.begin(), sought.end(), item.entry,
                             [&](std::size_t p, std::int32_t entry) { return places[p].item.entry < entry; });
        if (at == sought.end() || places[*at].item.entry != item.entry || found[places[*at].move]) continue;
        moves[places[*at].move].from = item;
        found[places[*at].move] = true;
        --left;
      }
    }
    out.clear();
    in.clear();
    for (std::size_t p = i; p < end; ++p) {
      const Move& move = moves[places[p].move];
      const bool kept = places[p].out && move.refile && SameKey(move.from, move.to);
      if (kept && found[places[p].move] && move.from == move.to) continue;  // nothing changes
      if (places[p].out && found[places[p].move]) out.push_back(move.from);
      if (!places[p].out || kept) in.push_back(move.to);
    }
    for (const Item& item : out) {
      if (!Holds(item, path)) continue;
      RemoveAt(path);
      if (count > 0) --count;
      store_.Changed();
    }
    std::sort(in.begin(), in.end());
    for (const Item& item : in) Insert(item);
    i = end;
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
