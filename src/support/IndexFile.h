// Index files (.WDX): the interface the catalog layers use. Results are 16-bit signed, the width its
// callers use; keys are code page 1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vrk::lib {

// Each index file is a paged B+tree of (key, sequence, entry) items. Keys hold 0 to 24 bytes and are
// compared upper-cased in code page 1252 with trailing blanks ignored; equal keys come back in
// ascending sequence number, then entry number. Handles stay open until CloseNDX, which leaves
// everything on disk. An index created with mode 2 counts as being changed until it is closed.

inline constexpr std::int16_t kNdxOk = 0;
inline constexpr std::int16_t kNdxFailed = -1;   // bad handle, too many open files, bad argument
inline constexpr std::int16_t kNdxDamaged = -2;  // not an index file, or damaged
inline constexpr std::int16_t kNdxMissing = -3;  // OpenNDX mode 0: no such file
inline constexpr std::int16_t kNdxEnd = -4;      // no (further) key
inline constexpr std::int16_t kNdxIoError = -5;  // the disk refused a read or write

inline constexpr std::int16_t kNdxOpen = 0;    // OpenNDX mode: open an existing index
inline constexpr std::int16_t kNdxCreate = 2;  // OpenNDX mode: create an empty index, replacing any file

inline constexpr std::size_t kMaxKeyLength = 24;

// How much each index file opened from now on keeps in memory (tests make both small, so that pages
// are written back early and read again, and runs of keys are spilled and merged).
struct IndexTuning {
  std::size_t cachePages = 4096;                 // 16 MB per open index file
  std::size_t runLength = std::size_t{1} << 17;  // keys held before they spill or are filed: 4.7 MB
};

// The open index handles of one program, the file system their files are on and the tuning. The
// handles still open when it goes are dropped as a killed program's would be: CloseNDX writes out.
class Indexes {
 public:
  explicit Indexes(sys::FileSystem& system = sys::SystemFiles());
  ~Indexes();
  Indexes(Indexes&&) noexcept;
  Indexes& operator=(Indexes&&) noexcept;

  sys::FileSystem& system() const { return *system_; }
  IndexTuning tuning;

  struct Table;
  Table& table() { return *table_; }

 private:
  sys::FileSystem* system_;
  std::unique_ptr<Table> table_;
};

[[nodiscard]] std::int16_t InitIndexes(Indexes& indexes);
[[nodiscard]] std::int16_t OpenNDX(Indexes& indexes, std::int16_t& handle, const std::string& path, std::int16_t mode);
[[nodiscard]] std::int16_t CloseNDX(Indexes& indexes, std::int16_t handle);
// Marks the index, on the disk, as being changed before a change of the entries begins; CloseNDX
// marks it whole again. An index left marked (a program killed meanwhile) opens as damaged, and the
// program rebuilds it.
[[nodiscard]] std::int16_t BeginChanges(Indexes& indexes, std::int16_t handle);
// Begins a change that only files the keys of entries added after those the index follows (Covers):
// the index is held for the change, but not marked, and so long as the keys fit in memory nothing is
// written before CloseNDX, which must come after the new entries are on the disk. Killed before that,
// the index follows fewer entries than its catalog has, and is rebuilt. An index that does not know
// what it follows is marked as BeginChanges marks it.
[[nodiscard]] std::int16_t BeginAppend(Indexes& indexes, std::int16_t handle);
// How many entries of its catalog the index follows, as last recorded by SetCovers and CloseNDX;
// nothing when the index was last changed without it. An index that follows another count than its
// catalog's entries is in doubt.
[[nodiscard]] std::int16_t Covers(Indexes& indexes, std::int16_t handle, std::optional<std::uint64_t>& entries);
// Records that the index follows the first `entries` entries of its catalog; CloseNDX writes it with
// the change.
[[nodiscard]] std::int16_t SetCovers(Indexes& indexes, std::int16_t handle, std::uint64_t entries);
// Closes the handle and leaves its index marked as being changed, so that it is rebuilt before it is
// used again: a change of the entries failed half way. Other handles on the index fail from now on.
[[nodiscard]] std::int16_t AbandonNDX(Indexes& indexes, std::int16_t handle);
[[nodiscard]] std::int16_t AddKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t entry,
                                  std::int32_t sequence);
[[nodiscard]] std::int16_t DeleteKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t entry);
// A key of one entry taken out of an index and, with `refile`, another filed for it.
struct KeyMove {
  std::string_view from;
  std::string_view to;
  std::int32_t entry = 0;
  bool refile = false;
};
// As DeleteKey(from, entry) and then, with `refile`, AddKey(to, entry, 0) for every move in turn, for
// moves of different entries: the index gets the same items, but the keys are looked up and filed in
// key order, each page visited once for neighbouring keys. A key `from` the index lacks is no failure.
[[nodiscard]] std::int16_t MoveKeys(Indexes& indexes, std::int16_t handle, const std::vector<KeyMove>& moves);
[[nodiscard]] std::int16_t GetFirst(Indexes& indexes, std::int16_t handle, std::int32_t& entry);
[[nodiscard]] std::int16_t GetNext(Indexes& indexes, std::int16_t handle, std::int32_t& entry);
[[nodiscard]] std::int16_t GetPrev(Indexes& indexes, std::int16_t handle, std::int32_t& entry);
// Hands the entry number of every key, in key order, to `visit` until it returns false: kNdxOk after
// the last (none in an empty index), kNdxEnd when `visit` stopped. The handle's position is left as
// it was. A walk over the whole index at the cost of reading its leaves.
[[nodiscard]] std::int16_t VisitEntries(Indexes& indexes, std::int16_t handle,
                                        const std::function<bool(std::int32_t entry)>& visit);
// Positions at the first key not below `key`.
[[nodiscard]] std::int16_t GetKey(Indexes& indexes, std::int16_t handle, std::string_view key, std::int32_t& entry);
// The number of keys the index holds.
[[nodiscard]] std::int16_t CountKeys(Indexes& indexes, std::int16_t handle, std::uint64_t& count);
// kNdxOk when the key the handle was last moved to is `key` as the index compares keys, kNdxEnd when
// it is another key or the handle has not been moved.
[[nodiscard]] std::int16_t PositionedAtKey(Indexes& indexes, std::int16_t handle, std::string_view key);
// The key the handle was last moved to, as the index holds it: upper-cased, trailing blanks removed.
// kNdxEnd when the handle has not been moved.
[[nodiscard]] std::int16_t CurrentKey(Indexes& indexes, std::int16_t handle, std::string& key);

}  // namespace vrk::lib
