#include "shell/ScreenLayout.h"

#include <algorithm>
#include <cmath>

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

int BoxWidth(int length, double charWidth, int overhead, int left, int windowWidth) {
  // Whole pixels, rounded up; the small allowance keeps a product such as 40 × 7.2 from rounding up
  // past the exact pixel count it stands for.
  const auto pixels = [](double width) { return static_cast<int>(std::ceil(width - 1e-6)); };
  const int character = pixels(charWidth);
  const int wanted = pixels(length * charWidth) + overhead;
  const int room = windowWidth - left - character;
  return std::max(character + overhead, std::min(wanted, room));
}

int EntryScreenHeight(const ScreenLayout& layout, int top, int pitch, int rowHeight, int margin) {
  int rows = 0;
  for (int i = 0; i < kScreenRows; ++i) {
    if (layout.rows[static_cast<std::size_t>(i)].visible) rows = i + 1;
  }
  if (rows == 0) return top + margin;
  return top + (rows - 1) * pitch + rowHeight + margin;
}

int NextVisibleBox(const std::array<bool, kFieldCount>& visible, int from) {
  for (int step = 1; step < kFieldCount; ++step) {
    const int box = (from + step) % kFieldCount;
    if (visible[static_cast<std::size_t>(box)]) return box;
  }
  return from;
}

}  // namespace vrk
