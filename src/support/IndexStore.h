// The pages of one open index file: the file, its header and a bounded write-back cache of pages.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/IndexFile.h"
#include "support/IndexFormat.h"
#include "support/IndexHeld.h"

namespace vrk::lib::ndx {

// Raised inside the index engine; the public functions turn it into their result.
struct Fault {
  std::int16_t result;
};

inline constexpr std::size_t kDefaultCachePages = IndexTuning{}.cachePages;
inline constexpr std::size_t kMinCachePages = 8;  // the tree uses at most two pages at once
inline constexpr std::size_t kSweepPages = 512;   // 2 MB
inline constexpr std::size_t kDefaultRunLength = IndexTuning{}.runLength;

using FileId = sys::FileId;

// The open index file: whole pages read and written through the file layer, its failures raised as
// Faults. Read-only when the file may not be written (a catalog on read-only media).
//
// Programs share an index file through its lock: a reader holds it shared, a program changing the
// file holds it exclusively from the moment the file is marked as being changed until it is whole
// again, so that no reader ever sees a change half made.
class PageFile {
 public:
  // Opens an existing file, or with `create` creates it when missing. Throws Fault: kNdxMissing when
  // there is no such file, kNdxDamaged when it is not a regular file.
  static PageFile Open(sys::FileSystem& system, const std::string& nativePath, bool create);

  const FileId& id() const { return id_; }
  const std::string& path() const { return path_; }
  sys::FileSystem& system() const { return SystemOf(handle_); }
  bool writable() const { return handle_.writable(); }
  // Exclusive while the file changes, shared again afterwards; throws kNdxFailed when another
  // program holds the file longer than a moment.
  void Lock(sys::Lock lock);
  std::uint64_t Size();
  // False when the file ends before the page does.
  bool Read(std::uint64_t offset, Page& page);
  void Write(std::uint64_t offset, const Page& page);
  // `count` pages, one after another from `offset`, in one write.
  void Write(std::uint64_t offset, const std::uint8_t* pages, std::size_t count);
  void Truncate(std::uint64_t size);
  void Sync();

 private:
  PageFile(sys::FileHandle handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {}
  sys::FileHandle handle_;
  std::string path_;
  FileId id_;
};

class Store {
 public:
  // Takes over the open file and locks it shared (kNdxFailed when another program is changing it):
  // reads and checks its header, or with `create` makes it an empty index that stays marked as being
  // changed until it is flushed.
  Store(PageFile file, bool create, const IndexTuning& tuning);
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const FileId& id() const { return file_.id(); }
  bool writable() const { return file_.writable(); }
  Header& header() { return header_; }

  // Items added but not yet in the tree: adding many keys in a row files them together, which is far
  // cheaper than one by one. Every other operation files them first.
  HeldKeys& held() { return held_; }

  // Counts the changes to the tree, so that a cursor knows when its path no longer holds.
  std::uint64_t generation() const { return generation_; }
  void Changed() { ++generation_; }

  // The first failure that left the tree or the file in doubt; every later call reports it.
  std::int16_t broken() const { return broken_; }
  void Break(std::int16_t result);

  // A page for reading, or for changing (`write`). The reference holds until the next call that
  // fetches another page; the cache is large enough for any two pages to be held at once.
  Page& Fetch(std::uint32_t number, bool write);
  // While a pass visits pages in key order, about once each, a larger cache would only hold pages
  // that are not fetched again: the cache then grows to at most kSweepPages (and keeps what it holds).
  void Sweep(bool sweeping) { sweeping_ = sweeping; }
  // A zero-filled page for changing, taken from the free list or added at the end of the file.
  std::uint32_t Allocate();
  void Release(std::uint32_t number);

  // Marks the file, on the disk, as being changed, before anything else of the change is written; the
  // count of entries the file follows is dropped until the change records it again.
  void BeginChanges();
  // Begins an append (see IndexFormat.h): the file is held exclusively but not marked, so long as its
  // header has a count of entries and no changed page must be written before Flush. A file without
  // the count, or a page written early, is marked as BeginChanges does.
  void BeginAppend();
  // Writes every changed page, puts them on the disk, then the header that marks the file whole. An
  // append's entries must be on the disk before.
  void Flush();
  // Makes the file an empty index, marked as being changed; what was held back is dropped.
  void Format();

  // A tree built from the bottom up in place of an empty one: its pages are written straight to the
  // file, in order from page 1 on, past the cache. StartBuild marks the file as being changed and
  // drops every cached page, all of which the new pages replace.
  void StartBuild();
  // Writes `count` sealed pages from page `first` on.
  void WriteBuilt(std::uint32_t first, const std::uint8_t* pages, std::size_t count);
  // The built tree of `pages` pages (1 to `pages`) becomes the index; a file that was longer (free
  // pages of the empty tree) is cut.
  void EndBuild(std::uint32_t pages, std::uint32_t root, std::uint32_t height, std::uint64_t items);

 private:
  struct Frame {
    std::uint32_t number = 0;  // 0: holds no page
    bool dirty = false;
    bool used = false;  // fetched since the clock hand last passed
    Page bytes;
  };

  // A free frame, evicting a page when the cache is full; returns its index.
  std::uint32_t Take();
  void DropCache();
  // Puts page `number` into frame `index` and returns its bytes.
  Page& Register(std::uint32_t index, std::uint32_t number, bool dirty);
  void Remember(std::uint32_t index);
  // A page is about to change: marks the file unless an append is under way.
  void Changing();
  void WriteFrame(Frame& frame);
  void WriteHeader();

  PageFile file_;
  Header header_;
  // Pages are evicted by the clock: the hand passes over frames used since its last round. The two
  // frames fetched last are never evicted, so that a caller may hold two pages at once.
  std::deque<Frame> frames_;            // a deque keeps the frames in place as it grows
  std::vector<std::uint32_t> frameOf_;  // by page number: frame index + 1, 0 when not cached
  std::size_t hand_ = 0;
  std::array<std::uint32_t, 2> recent_{};  // frame index + 1 of the last two fetches
  std::size_t capacity_;
  bool sweeping_ = false;
  bool appending_ = false;  // changing without the mark, the pages held in the cache
  HeldKeys held_;
  std::uint64_t generation_ = 0;
  std::int16_t broken_ = kNdxOk;
};

}  // namespace vrk::lib::ndx
