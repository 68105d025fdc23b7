// dBase III tables as other programs write them, built byte by byte without the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vrk::test {

struct Column {
  std::string name;
  char type;
  int length;
  int decimals = 0;
};

inline std::string Le(std::uint32_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// Header, descriptors, terminator and the records as given (deletion flag first), no end marker.
inline std::string ForeignTable(std::uint8_t version, const std::vector<Column>& columns,
                                const std::vector<std::string>& records) {
  int recordLength = 1;
  for (const Column& column : columns) recordLength += column.length;
  std::string bytes{static_cast<char>(version), 99, 1, 2};
  bytes += Le(static_cast<std::uint32_t>(records.size()), 4) +
           Le(static_cast<std::uint32_t>(32 * columns.size() + 33), 2) + Le(recordLength, 2) + std::string(20, '\0');
  for (const Column& column : columns) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, column.name.size(), column.name);
    descriptor[11] = column.type;
    descriptor[16] = static_cast<char>(column.length);
    descriptor[17] = static_cast<char>(column.decimals);
    bytes += descriptor;
  }
  bytes += '\x0D';
  for (const std::string& record : records) bytes += record;
  return bytes;
}

}  // namespace vrk::test
