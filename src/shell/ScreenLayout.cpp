#include "shell/ScreenLayout.h"

#include <algorithm>

namespace vrk {

ScreenLayout LayOutRows(const CatalogStore& store) {
  ScreenLayout layout;
  for (int i = 0; i < kScreenRows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int length = store.header.FieldLength[at];
    if (length <= 0) continue;
    const FieldDef& field = store.fieldTable[at];
    RowLayout& row = layout.rows[at];
    row.visible = true;
    row.length = length;
    row.locked = store.formulaTable[at].Valid;
    row.keyMarker = IsKeyField(field);
    row.sumMarker = IsSumField(field);
    row.calcMarker = row.locked;
    if (row.keyMarker && layout.speedSearchFields.size() < kSpeedSearchEntries) layout.speedSearchFields.push_back(i);
  }
  return layout;
}

int BoxWidth(int length, int charWidth, int left, int windowWidth) {
  const int wanted = length * charWidth;
  const int room = windowWidth - left - charWidth;
  return std::max(charWidth, std::min(wanted, room));
}

int NextVisibleBox(const std::array<bool, kFieldCount>& visible, int from) {
  for (int step = 1; step < kFieldCount; ++step) {
    const int box = (from + step) % kFieldCount;
    if (visible[static_cast<std::size_t>(box)]) return box;
  }
  return from;
}

}  // namespace vrk
