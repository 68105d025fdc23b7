// Index files (.WDX): the interface the catalog layers use. Results are 16-bit signed, the width its
// callers use; keys are code page 1252.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

[[nodiscard]] std::int16_t InitIndexes();
[[nodiscard]] std::int16_t OpenNDX(std::int16_t& handle, const std::string& path, std::int16_t mode);
[[nodiscard]] std::int16_t CloseNDX(std::int16_t handle);
// Marks the index, on the disk, as being changed before a change of the entries begins; CloseNDX
// marks it whole again. An index left marked (a program killed meanwhile) opens as damaged, and the
// program rebuilds it.
[[nodiscard]] std::int16_t BeginChanges(std::int16_t handle);
// Closes the handle and leaves its index marked as being changed, so that it is rebuilt before it is
// used again: a change of the entries failed half way. Other handles on the index fail from now on.
[[nodiscard]] std::int16_t AbandonNDX(std::int16_t handle);
[[nodiscard]] std::int16_t AddKey(std::int16_t handle, std::string_view key, std::int32_t entry, std::int32_t sequence);
[[nodiscard]] std::int16_t DeleteKey(std::int16_t handle, std::string_view key, std::int32_t entry);
[[nodiscard]] std::int16_t GetFirst(std::int16_t handle, std::int32_t& entry);
[[nodiscard]] std::int16_t GetNext(std::int16_t handle, std::int32_t& entry);
[[nodiscard]] std::int16_t GetPrev(std::int16_t handle, std::int32_t& entry);
// Positions at the first key not below `key`.
[[nodiscard]] std::int16_t GetKey(std::int16_t handle, std::string_view key, std::int32_t& entry);
// The number of keys the index holds.
[[nodiscard]] std::int16_t CountKeys(std::int16_t handle, std::uint64_t& count);
// kNdxOk when the key the handle was last moved to is `key` as the index compares keys, kNdxEnd when
// it is another key or the handle has not been moved.
[[nodiscard]] std::int16_t PositionedAtKey(std::int16_t handle, std::string_view key);
// The key the handle was last moved to, as the index holds it: upper-cased, trailing blanks removed.
// kNdxEnd when the handle has not been moved.
[[nodiscard]] std::int16_t CurrentKey(std::int16_t handle, std::string& key);

}  // namespace vrk::lib
