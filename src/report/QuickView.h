// Quick View: the entries of a list or search as a grid, one row per entry, the entry number first
// and one column per used field, edited in place: a changed cell is written back into its entry with
// the entry's keys kept in step. This is the grid's content and its edits; the window shows it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalog/CatalogStore.h"

namespace vrk {

inline constexpr int kQuickViewRows = 4011;  // most rows the grid takes
inline constexpr int kEntryColumnWidth = 6;  // characters of the entry-number column
inline constexpr int kQuickViewVisibleRows = 25;

// Grid column c (from 1) stands for the c-th used field of the catalog.
struct QuickViewColumn {
  int field = 0;          // field index
  int length = 0;         // the field's length
  int width = 0;          // characters: the length, at most the widest column, at least the name
  std::string heading;    // the field's 14-character name
  bool readOnly = false;  // a computed field, or a catalog that may not be changed
};

struct QuickViewRow {
  EntryNumber entry = 0;
  std::vector<std::string> cells;  // by grid column from 1: the field's value, trailing blanks removed
};

// The dialog record of the Quick View window ("Quick View").
struct QuickView {
  CatalogStore* store = nullptr;
  bool mayChange = false;
  std::vector<QuickViewColumn> columns;
  std::vector<QuickViewRow> rows;  // grid row n is rows[n - 1]
  // Told of each entry an edit has written, with its record before and after the edit.
  std::function<void(EntryNumber, const EntryRecord&, const EntryRecord&)> edited = nullptr;
};

// The grid's columns for the current catalog, with no rows yet.
QuickView LoadQuickView(CatalogStore& store, bool mayChange);
// Adds the entry as the grid's next row; false when the grid holds its most rows already.
bool AddQuickViewRow(QuickView& view, EntryNumber n, const EntryRecord& entry);
// Writes the edited text of the cell at grid row `row`, column `column` (both from 1) into its entry:
// the field blanked, then the text put in from its start, cut to the field's length, and the entry's
// keys refiled. The cell shows the whole text when the entry was written; false when it could not
// be (said by the entry and index layers), and the cell keeps its text.
bool CommitQuickViewEdit(QuickView& view, int row, int column, const std::string& text);

// "Entries", or "Entry" for exactly one.
const char* QuickViewCaption(std::size_t rows);

}  // namespace vrk
