// The report format designer (frmRptSetup): a page of report lines on which each field and the entry
// number is a label placed on a character grid, moved cell by cell, widened, narrowed and taken off
// again. It edits the designer copy of a format; its caller writes the copy when it is confirmed.
// Positions here are cells: report line and character column, both from 1.
#pragma once

#include <optional>
#include <string>

#include "report/ReportFormat.h"

namespace vrk {

class Ui;

inline constexpr int kMaxDesignColumn = 91;  // the arrow buttons move no item beyond it
inline constexpr int kMinScroll = -90;
inline constexpr int kTitleColumns = 16;  // a title: the field name and ": "
inline constexpr int kEntryNumberMaxWidth = 11;

struct ReportDesigner {
  ReportDesigner(Ui& ui, const CatalogStore& store, ReportFormat& format, std::string caption)
      : ui(ui), store(store), format(format), caption(std::move(caption)) {}

  Ui& ui;
  const CatalogStore& store;  // the current catalog: its field names and lengths
  ReportFormat& format;
  std::string caption;
  int selected = 0;  // the item chosen in the field list
  int scroll = 0;    // S, -90 to 0: column c of the page is drawn at cell S + c - 1
};

// The name of an item as the field list and its label show it: the field's 14 characters, or "Entry #".
std::string DesignerItemName(const CatalogStore& store, int item);
// The widest an item may be: its field's length, 11 for the entry number.
int MaxItemWidth(const CatalogStore& store, int item);
// Cells an item's label covers on its line.
int LabelCells(const ReportFormat& format, int item);

// Whether item k at column `col` of line `row` would come too close to another item on that line: with
// titles their spans (col to col + Width + 15) may touch but not overlap, without titles one free
// column stays between two values.
bool TooClose(const ReportFormat& format, int item, int col, int row);

// The cell under a click at (x, y) on the page, in pixels from its top left corner: none above the
// page's top edge or at or below the end line.
struct Cell {
  int row;
  int col;
};
std::optional<Cell> CellAt(const ReportDesigner& designer, double x, double y, double cellWidth, double cellHeight);

// The column and row displays: the chosen item's position, "1" and "1" for an item not placed.
Cell ShownPosition(const ReportDesigner& designer);

void ChooseItem(ReportDesigner& designer, int item);
// Places the chosen item at the cell, unless it would be too close there. True when it was placed.
bool PlaceItem(ReportDesigner& designer, Cell cell);
enum class Direction { kUp, kDown, kLeft, kRight };
// Moves the chosen item one cell; false (nothing moves) at the page's edges, when it is not placed,
// or when it would come too close to another item.
bool MoveItem(ReportDesigner& designer, Direction direction);
// One character narrower (not below 1) or wider (up to MaxItemWidth, and not too close); false when
// the width stays.
bool ChangeItemWidth(ReportDesigner& designer, int step);
// One report line more or fewer per entry, 1 to 21; items below the end line keep their lines.
bool ChangeLinesPerEntry(ReportDesigner& designer, int step);
// Scrolls the page one column; beyond the range it beeps and stays.
bool ScrollPage(ReportDesigner& designer, int step);
// Takes the chosen item off the page.
void RemoveItem(ReportDesigner& designer);
// Show Titles ticked or cleared. Ticking it fails, with a beep and a message naming the first item
// in item order that would then be too close, and titles stay off. Returns whether titles are on.
bool SetShowTitles(ReportDesigner& designer, bool on);

}  // namespace vrk
