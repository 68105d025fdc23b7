// How the entry screen's rows are laid out for the current catalog, apart from any window: which
// rows show, which boxes are locked, which markers stand beside them, which key fields get the
// speed-search menu entries, and where Enter moves the focus.
#pragma once

#include <array>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

// Rows 0 to 19 are fields 1 to 20; field 21 never has a row.
inline constexpr int kScreenRows = kFieldCount - 1;
// The speed-search menu serves the first three key fields.
inline constexpr std::size_t kSpeedSearchEntries = 3;

struct RowLayout {
  bool visible = false;  // a field of length 0 leaves its row empty; the rows below keep their places
  bool locked = false;   // computed fields are worked out, never typed
  int length = 0;
  bool keyMarker = false;
  bool sumMarker = false;
  bool calcMarker = false;
};

struct ScreenLayout {
  std::array<RowLayout, kScreenRows> rows{};
  std::vector<int> speedSearchFields;  // field indexes, at most three
};

ScreenLayout LayOutRows(const CatalogStore& store);

// Width of a box in pixels: room for the field's characters at `charWidth` pixels each (the font's
// advance, fractional as the font has it), plus the `overhead` pixels a box needs beyond its text (its
// margins and the caret after the last character), so that a full field shows every character without
// scrolling. A box that would reach past one character width before the window's right edge is cut
// there; it never gets narrower than one character.
int BoxWidth(int length, double charWidth, int overhead, int left, int windowWidth);

// Height of the entry screen in pixels: rows keep their places, so it runs to the bottom of the last
// visible row, however many rows above it are empty; `margin` more below it. `top` is where row 0
// starts, `pitch` the distance from one row to the next, `rowHeight` the height of a row.
int EntryScreenHeight(const ScreenLayout& layout, int top, int pitch, int rowHeight, int margin);

// The box Enter moves to: the next visible one in element order, wrapping from the last to the first;
// `from` itself when no other box is visible.
int NextVisibleBox(const std::array<bool, kFieldCount>& visible, int from);

}  // namespace vrk
