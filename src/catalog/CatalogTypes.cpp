#include "catalog/CatalogTypes.h"

#include <algorithm>

namespace vrk {

std::string PadFieldName(std::string name) {
  name.resize(kFieldNameLength, ' ');
  return name;
}

std::string DefaultFieldName(int fieldIndex) { return PadFieldName("Line " + std::to_string(fieldIndex + 1)); }

FieldTable DefaultFieldTable() {
  FieldTable table;
  for (int i = 0; i < kFieldCount; ++i) table[i] = {DefaultFieldName(i), kPlainField};
  return table;
}

short EntryLengthFor(const std::array<short, kFieldCount>& fieldLength) {
  int sum = 0;
  for (const short length : fieldLength) sum += length;
  return static_cast<short>(std::max(kSlotOverhead + sum, kHeaderLength));
}

std::string RightTrim(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

}  // namespace vrk
