// The B+tree of an index file: items in leaves, inner pages routing by the lowest item of each child.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "support/IndexFormat.h"
#include "support/IndexHeld.h"
#include "support/IndexStore.h"

namespace vrk::lib::ndx {

// One step of a path from the root down: the page and the slot taken in it.
struct PathStep {
  std::uint32_t page;
  std::size_t slot;
};
// A position in the tree: one step per level, the last one naming the item in its leaf. A path holds
// only while the tree is unchanged (see Store::generation).
using Path = std::vector<PathStep>;

class Tree {
 public:
  explicit Tree(Store& store) : store_(store) {}

  // Reads the root, so that an index with a damaged root is refused when it is opened.
  void CheckRoot();
  // The first (with `last`, the last) item; false when the index is empty.
  bool Edge(bool last, Path& path);
  // The first item not below `item` (with `after`, above it); false when there is none.
  bool Seek(const Item& item, bool after, Path& path);
  // One item on (or back); false, with the path unchanged, when there is none.
  bool Step(bool forward, Path& path);
  Item At(const Path& path);

  // Hands the entry number of every item, in order from the first, to `visit` until it returns false;
  // false then. A leaf at a time: nothing else of an item is decoded.
  bool VisitEntries(const std::function<bool(std::int32_t entry)>& visit);
  // True when the tree holds no item.
  bool Empty();
  void Insert(const Item& item);
  // Files sorted items one by one, in order, so that neighbours share their pages.
  void InsertInOrder(const std::vector<Item>& items);
  // Builds the tree of the `count` items of `items`, in order, in place of the empty tree, from the
  // bottom up: every level packed evenly, its page counts known from `count`, each page written once,
  // straight to the file, in the order of page numbers.
  void Build(ItemSource& items, std::uint64_t count);
  // Removes one item with the key and entry number of `target`, whatever its sequence number.
  // False when there is none.
  bool Erase(const Item& target);

  // One entry's key moved: the item of `from`'s key and entry taken out as Erase finds it (none is no
  // failure), and with `refile` the item `to` put in.
  struct Move {
    Item from;
    Item to;
    bool refile = false;
  };
  // As Erase(from) and then, with `refile`, Insert(to) for each move in turn, for moves of different
  // entries, whose order does not matter then. Done key by key in key order, so that each page is
  // visited about once: the items of a key to take out found (the equal keys that Erase would look
  // through for each looked through once), taken out, and the key's new items put in. A move whose
  // item found is its `to` changes nothing.
  void MoveItems(std::vector<Move>& moves);

 private:
  // A tree page of the given level; refuses any other kind of page and empty leaves but the root.
  Page& Fetch(std::uint32_t page, std::size_t level, bool write);
  // Child `slot` of `parent`, checked to lie between the parent's bounds for it.
  Page& FetchChild(const NodeView& parent, std::size_t slot);
  std::size_t LevelAt(std::size_t depth) const { return store_.header().height - 1 - depth; }
  // The path to where `item` is or would go, into `path` (its room kept from call to call).
  void Descend(const Item& item, bool after, Path& path);
  void ExtendToLeaf(bool last, Path& path);
  bool Find(const Item& target, Path& path);
  // Whether the tree holds `item` exactly; `path` then leads to it.
  bool Holds(const Item& item, Path& path);
  void Split(const Path& path, std::size_t depth, std::size_t at, std::uint8_t* image);
  bool OnRightEdge(const Path& path, std::size_t depth);
  void Grow(const std::uint8_t* image);
  void RemoveAt(const Path& path);
  void Shrink();

  Store& store_;
  Path scratch_;  // Insert's path, its room kept for the next
};

}  // namespace vrk::lib::ndx
