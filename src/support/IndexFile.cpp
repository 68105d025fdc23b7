// The index file functions: a table of open handles over the page stores of the open files. Handles
// that open the same file share its store, so that upkeep through one handle is seen at once by a
// browsing handle on the same index; each handle keeps its own position.
#include <array>
#include <exception>
#include <limits>
#include <memory>
#include <utility>

#include "platform/Paths.h"
#include "support/IndexFile.h"
#include "support/IndexFormat.h"
#include "support/IndexStore.h"
#include "support/IndexTree.h"

namespace vrk::lib {
namespace {

using ndx::Fault;

constexpr std::int16_t kMaxHandles = 64;

// Where GetNext and GetPrev go on from: the item returned last, and the path to it, which holds
// while the store's generation is unchanged. After a change the walk seeks from the item again.
struct Cursor {
  bool positioned = false;
  ndx::Item last;
  ndx::Path path;
  std::uint64_t generation = 0;
};

struct Handle {
  std::shared_ptr<ndx::Store> store;
  Cursor cursor;
};

}  // namespace

// The open handles; handle h is entry h - 1.
struct Indexes::Table {
  std::array<Handle, kMaxHandles> handles;
};

namespace {

Handle* Find(Indexes& indexes, std::int16_t handle) {
  auto& handles = indexes.table().handles;
  if (handle < 1 || handle > kMaxHandles || !handles[handle - 1].store) return nullptr;
  return &handles[handle - 1];
}

std::shared_ptr<ndx::Store> StoreOf(Indexes& indexes, const ndx::FileId& id) {
  for (const Handle& h : indexes.table().handles) {
    if (h.store && h.store->id() == id) return h.store;
  }
  return nullptr;
}

// Files the keys held back: into an empty index as a tree built from all of them, into a filled one
// one by one. Runs are spilled only while the index is empty, and nothing but AddKey has happened
// since, so spilled runs always go into a build.
void FilePending(ndx::Store& store) {
  ndx::HeldKeys& held = store.held();
  if (held.empty()) return;
  ndx::Tree tree(store);
  if (held.spilled() || tree.Empty()) {
    ndx::HeldKeys::Merge merge(held);
    tree.Build(merge, held.size());
  } else {
    tree.InsertInOrder(held.TakeRun());
  }
  held.Clear();
}

// A full run of held keys is spilled while the index is empty, else filed at once.
void HoldKey(ndx::Store& store, const ndx::Item& item) {
  ndx::HeldKeys& held = store.held();
  held.Add(item);
  if (!held.full()) return;
  ndx::Tree tree(store);
  if (held.spilled() || tree.Empty()) {
    store.BeginChanges();
    held.Spill();
  } else {
    tree.InsertInOrder(held.TakeRun());
  }
}

// Runs `operation` on an open handle and turns a fault into its result. A fault leaves the store
// broken: the tree may be half changed, so nothing more is read from or written to it. Keys held
// back by AddKey are filed first, unless the operation adds one more.
template <typename Operation>
std::int16_t Run(Indexes& indexes, std::int16_t handle, Operation operation, bool filePending = true) {
  Handle* h = Find(indexes, handle);
  if (h == nullptr) return kNdxFailed;
  ndx::Store& store = *h->store;
  if (store.broken() != kNdxOk) return store.broken();
  try {
    if (filePending) FilePending(store);
    return operation(*h);
  } catch (const Fault& fault) {
    store.Break(fault.result);
    return fault.result;
  } catch (const std::exception&) {
    store.Break(kNdxFailed);
    return kNdxFailed;
  }
}

std::int16_t PositionAt(Handle& h, ndx::Tree& tree, bool found, ndx::Path path, std::int32_t& entry) {
  if (!found) return kNdxEnd;  // the position stays where it was
  h.cursor = {true, tree.At(path), std::move(path), h.store->generation()};
  entry = h.cursor.last.entry;
  return kNdxOk;
}

std::int16_t Walk(Indexes& indexes, std::int16_t handle, bool forward, std::int32_t& entry) {
  return Run(indexes, handle, [&](Handle& h) {
    ndx::Tree tree(*h.store);
    Cursor& cursor = h.cursor;
    if (cursor.positioned && cursor.generation == h.store->generation()) {
      // The common case, a step along an unchanged tree, moves the cursor's own path: a step that
      // finds nothing leaves it as it was.
      if (!tree.Step(forward, cursor.path)) return kNdxEnd;
      cursor.last = tree.At(cursor.path);
      entry = cursor.last.entry;
      return kNdxOk;
    }
    ndx::Path path;
    bool found = false;
    if (!cursor.positioned) {
      found = tree.Edge(!forward, path);
    } else if (forward) {
      found = tree.Seek(cursor.last, true, path);
    } else {
      // One back from the first item not below the remembered one; the last item when none is.
      found = tree.Seek(cursor.last, false, path) ? tree.Step(false, path) : tree.Edge(true, path);
    }
    return PositionAt(h, tree, found, std::move(path), entry);
  });
}

// Modes 0 and 2 as OpenNDX; throws Fault.
std::shared_ptr<ndx::Store> OpenStore(Indexes& indexes, const std::string& path, bool create) {
  ndx::PageFile file = ndx::PageFile::Open(indexes.system(), NativePath(path), create);
  std::shared_ptr<ndx::Store> store = StoreOf(indexes, file.id());
  if (!store) {
    store = std::make_shared<ndx::Store>(std::move(file), create, indexes.tuning);
    ndx::Tree(*store).CheckRoot();
  } else if (create) {
    // The handles already open on this file see the emptied index from now on.
    if (!store->writable()) throw Fault{kNdxIoError};
    try {
      store->Format();
    } catch (const Fault& fault) {
      store->Break(fault.result);
      throw;
    }
  } else if (store->broken() != kNdxOk) {
    throw Fault{store->broken()};
  }
  return store;
}

}  // namespace

Indexes::Indexes(sys::FileSystem& system) : system_(&system), table_(std::make_unique<Table>()) {}
Indexes::~Indexes() = default;
Indexes::Indexes(Indexes&&) noexcept = default;
Indexes& Indexes::operator=(Indexes&&) noexcept = default;

// Starts the index functions afresh: any index still open is written out and closed.
std::int16_t InitIndexes(Indexes& indexes) {
  std::int16_t result = kNdxOk;
  for (std::int16_t handle = 1; handle <= kMaxHandles; ++handle) {
    if (Find(indexes, handle) == nullptr) continue;
    if (const std::int16_t closed = CloseNDX(indexes, handle); result == kNdxOk) result = closed;
  }
  return result;
}

std::int16_t OpenNDX(Indexes& indexes, std::int16_t& handle, const std::string& path, std::int16_t mode) {
  handle = -1;
  if (mode != kNdxOpen && mode != kNdxCreate) return kNdxFailed;
  auto& handles = indexes.table().handles;
  std::int16_t free = 1;
  while (free <= kMaxHandles && handles[free - 1].store) ++free;
  if (free > kMaxHandles) return kNdxFailed;
  try {
    handles[free - 1] = Handle{OpenStore(indexes, path, mode == kNdxCreate), Cursor{}};
  } catch (const Fault& fault) {
    return fault.result;
  } catch (const std::exception&) {
    return kNdxFailed;
  }
  handle = free;
  return kNdxOk;
}

namespace {

// Begins a change of the index by `begin` (ndx::Store::BeginChanges or BeginAppend).
std::int16_t Begin(Indexes& indexes, std::int16_t handle, void (ndx::Store::*begin)()) {
  return Run(
      indexes, handle,
      [begin](Handle& h) {
        if (!h.store->writable()) return kNdxIoError;
        (*h.store.*begin)();
        return kNdxOk;
      },
      false);
}

}  // namespace

std::int16_t BeginChanges(Indexes& indexes, std::int16_t handle) {
  return Begin(indexes, handle, &ndx::Store::BeginChanges);
}

std::int16_t BeginAppend(Indexes& indexes, std::int16_t handle) {
  return Begin(indexes, handle, &ndx::Store::BeginAppend);
}

std::int16_t Covers(Indexes& indexes, std::int16_t handle, std::optional<std::uint64_t>& entries) {
  return Run(
      indexes, handle,
      [&](Handle& h) {
        entries = h.store->header().covers;
        return kNdxOk;
      },
      false);
}

std::int16_t SetCovers(Indexes& indexes, std::int16_t handle, std::uint64_t entries) {
  return Run(
      indexes, handle,
      [&](Handle& h) {
        h.store->header().covers = entries;
        return kNdxOk;
      },
      false);
}

std::int16_t AbandonNDX(Indexes& indexes, std::int16_t handle) {
  Handle* h = Find(indexes, handle);
  if (h == nullptr) return kNdxFailed;
  h->store->Break(kNdxDamaged);
  *h = Handle{};
  return kNdxOk;
}

std::int16_t CloseNDX(Indexes& indexes, std::int16_t handle) {
  const std::int16_t result = Run(indexes, handle, [](Handle& h) {
    h.store->Flush();
    return kNdxOk;
  });
  if (Handle* h = Find(indexes, handle)) *h = Handle{};
  return result;
}

std::int16_t AddKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t entry,
                    std::int32_t sequence) {
  return Run(
      indexes, handle,
      [&](Handle& h) {
        if (!h.store->writable()) return kNdxIoError;
        HoldKey(*h.store, ndx::MakeItem(key, sequence, entry));
        return kNdxOk;
      },
      false);
}

std::int16_t DeleteKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t entry) {
  return Run(indexes, handle, [&](Handle& h) {
    if (!h.store->writable()) return kNdxIoError;
    return ndx::Tree(*h.store).Erase(ndx::MakeItem(key, 0, entry)) ? kNdxOk : kNdxEnd;
  });
}

std::int16_t MoveKeys(Indexes& indexes, std::int16_t handle, const std::vector<KeyMove>& moves) {
  return Run(indexes, handle, [&](Handle& h) {
    if (!h.store->writable()) return kNdxIoError;
    std::vector<ndx::Tree::Move> items;
    items.reserve(moves.size());
    for (const KeyMove& move : moves) {
      items.push_back({ndx::MakeItem(move.from, 0, move.entry), ndx::MakeItem(move.to, 0, move.entry), move.refile});
    }
    ndx::Tree(*h.store).MoveItems(items);
    return kNdxOk;
  });
}

std::int16_t GetFirst(Indexes& indexes, std::int16_t handle, std::int32_t& entry) {
  return Run(indexes, handle, [&](Handle& h) {
    ndx::Tree tree(*h.store);
    ndx::Path path;
    const bool found = tree.Edge(false, path);
    return PositionAt(h, tree, found, std::move(path), entry);
  });
}

std::int16_t GetNext(Indexes& indexes, std::int16_t handle, std::int32_t& entry) {
  return Walk(indexes, handle, true, entry);
}

std::int16_t GetPrev(Indexes& indexes, std::int16_t handle, std::int32_t& entry) {
  return Walk(indexes, handle, false, entry);
}

std::int16_t VisitEntries(Indexes& indexes, std::int16_t handle, const std::function<bool(std::int32_t entry)>& visit) {
  return Run(indexes, handle, [&](Handle& h) { return ndx::Tree(*h.store).VisitEntries(visit) ? kNdxOk : kNdxEnd; });
}

std::int16_t GetKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t& entry) {
  return Run(indexes, handle, [&](Handle& h) {
    ndx::Tree tree(*h.store);
    ndx::Path path;
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    const bool found = tree.Seek(ndx::MakeItem(key, lowest, lowest), false, path);
    return PositionAt(h, tree, found, std::move(path), entry);
  });
}

std::int16_t CountKeys(Indexes& indexes, std::int16_t handle, std::uint64_t& count) {
  return Run(indexes, handle, [&](Handle& h) {
    count = h.store->header().itemCount;
    return kNdxOk;
  });
}

std::int16_t PositionedAtKey(Indexes& indexes, std::int16_t handle, std::string_view key) {
  return Run(indexes, handle, [&](Handle& h) {
    return h.cursor.positioned && ndx::SameKey(h.cursor.last, ndx::MakeItem(key, 0, 0)) ? kNdxOk : kNdxEnd;
  });
}

std::int16_t CurrentKey(Indexes& indexes, std::int16_t handle, std::string& key) {
  return Run(indexes, handle, [&](Handle& h) {
    if (!h.cursor.positioned) return kNdxEnd;
    key.assign(reinterpret_cast<const char*>(h.cursor.last.key.data()), h.cursor.last.length);
    return kNdxOk;
  });
}

}  // namespace vrk::lib
