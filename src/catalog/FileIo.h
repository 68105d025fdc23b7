// Reading and writing the binary files of a catalog: little-endian values, singles in Microsoft
// Binary Format, and block transfers that report disk failures in the "File Error" box.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"
#include "support/MsBin.h"

namespace vrk {

inline void PutShort(char* at, short value) {
  const auto bits = static_cast<std::uint16_t>(value);
  at[0] = static_cast<char>(bits & 0xFF);
  at[1] = static_cast<char>(bits >> 8);
}

inline short GetShort(const char* at) {
  return static_cast<short>(static_cast<std::uint8_t>(at[0]) | (static_cast<std::uint8_t>(at[1]) << 8));
}

inline void PutSingle(char* at, float value) {
  const lib::MsbinSingle bytes = lib::IEEE2MSBIN(value);
  std::memcpy(at, bytes.data(), 4);
}

inline float GetSingle(const char* at) {
  lib::MsbinSingle bytes;
  std::memcpy(bytes.data(), at, 4);
  return lib::MSBIN2IEEE(bytes);
}

// Writes the bytes at `offset` of an open file; a failure shows its "File Error" message, Retry tries
// again. False when the bytes were not written.
[[nodiscard]] bool WriteBlock(CatalogStore& store, int file, std::int64_t offset, std::string_view bytes);
// Reads up to `size` bytes; the part beyond the end of the file is filled with zeros. Returns the count
// actually read, or -1 (and zeros) after a failure that was reported.
[[nodiscard]] long ReadBlock(CatalogStore& store, int file, std::int64_t offset, char* data, std::size_t size);
// Puts an open file's data on the disk; a failure shows its "File Error" message for `path`.
[[nodiscard]] bool SyncBlocks(CatalogStore& store, int file, const std::string& path);
// Ends a batch of writes (BufferedFile::BeginBatch), writing what it gathered; a failure shows its
// "File Error" message for `path`.
[[nodiscard]] bool EndBlocks(CatalogStore& store, int file, const std::string& path);

}  // namespace vrk
