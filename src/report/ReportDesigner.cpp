#include "report/ReportDesigner.h"

#include <cmath>

#include "platform/Ui.h"

namespace vrk {
namespace {

// A click this close to the page's top edge (50 twips) is on no cell.
constexpr double kTopEdge = 50.0 / 15.0;

LayoutItem& Chosen(ReportDesigner& designer) {
  return designer.format.items[static_cast<std::size_t>(designer.selected)];
}

}  // namespace

std::string DesignerItemName(const CatalogStore& store, int item) {
  return item == kEntryNumberItem ? "Entry #" : store.fieldTable[static_cast<std::size_t>(item)].Name;
}

int MaxItemWidth(const CatalogStore& store, int item) {
  return item == kEntryNumberItem ? kEntryNumberMaxWidth : store.header.FieldLength[static_cast<std::size_t>(item)];
}

int LabelCells(const ReportFormat& format, int item) {
  return format.items[static_cast<std::size_t>(item)].Width + (format.ShowTitles() ? kTitleColumns : 0);
}

bool TooClose(const ReportFormat& format, int item, int col, int row) {
  const int titles = format.ShowTitles() ? kTitleColumns - 1 : 0;
  const int end = col + format.items[static_cast<std::size_t>(item)].Width + titles;
  for (int j = 0; j < kLayoutItemCount; ++j) {
    const LayoutItem& other = format.items[static_cast<std::size_t>(j)];
    if (j == item || other.Row != row || other.Row <= 0) continue;
    if (col <= other.Col + other.Width + titles && other.Col <= end) return true;
  }
  return false;
}

std::optional<Cell> CellAt(const ReportDesigner& designer, double x, double y, double cellWidth, double cellHeight) {
  x = std::max(x, 0.0);
  y = std::max(y, 0.0);
  if (y <= kTopEdge || y >= designer.format.LinesPerEntry() * cellHeight) return std::nullopt;
  return Cell{static_cast<int>(std::floor(y / cellHeight)) + 1,
              static_cast<int>(std::floor(x / cellWidth)) - designer.scroll + 1};
}

Cell ShownPosition(const ReportDesigner& designer) {
  const LayoutItem& item = designer.format.items[static_cast<std::size_t>(designer.selected)];
  return item.Placed() ? Cell{item.Row, item.Col} : Cell{1, 1};
}

void ChooseItem(ReportDesigner& designer, int item) {
  if (item >= 0 && item < kLayoutItemCount) designer.selected = item;
}

bool PlaceItem(ReportDesigner& designer, Cell cell) {
  if (cell.row < 1 || cell.col < 1 || TooClose(designer.format, designer.selected, cell.col, cell.row)) return false;
  Chosen(designer).Row = static_cast<short>(cell.row);
  Chosen(designer).Col = static_cast<short>(cell.col);
  return true;
}

bool MoveItem(ReportDesigner& designer, Direction direction) {
  const LayoutItem& item = Chosen(designer);
  if (!item.Placed()) return false;
  Cell to{item.Row, item.Col};
  switch (direction) {
    case Direction::kUp:
      if (item.Row == 1) return false;
      --to.row;
      break;
    case Direction::kDown:
      // Only the end line stops it: an item left below it by fewer lines per entry moves on down.
      if (item.Row == designer.format.LinesPerEntry()) return false;
      ++to.row;
      break;
    case Direction::kLeft:
      if (item.Col == 1) return false;
      --to.col;
      break;
    case Direction::kRight:
      if (item.Col + 1 > kMaxDesignColumn) return false;
      ++to.col;
      break;
  }
  return PlaceItem(designer, to);
}

bool ChangeItemWidth(ReportDesigner& designer, int step) {
  LayoutItem& item = Chosen(designer);
  const short before = item.Width;
  if (step < 0) {
    if (item.Width <= 1) return false;
    --item.Width;
    return true;
  }
  if (item.Width >= MaxItemWidth(designer.store, designer.selected)) return false;
  ++item.Width;
  if (!TooClose(designer.format, designer.selected, item.Col, item.Row)) return true;
  item.Width = before;
  return false;
}

bool ChangeLinesPerEntry(ReportDesigner& designer, int step) {
  short& lines = designer.format.items[0].LinesPerEntry;
  const int wanted = lines + step;
  if (wanted < 1 || wanted > kReportLines) return false;
  lines = static_cast<short>(wanted);
  return true;
}

bool ScrollPage(ReportDesigner& designer, int step) {
  const int wanted = designer.scroll + step;
  if (wanted < kMinScroll || wanted > 0) {
    designer.ui.Beep();
    return false;
  }
  designer.scroll = wanted;
  return true;
}

void RemoveItem(ReportDesigner& designer) {
  Chosen(designer).Row = 0;
  Chosen(designer).Col = 0;
}

bool SetShowTitles(ReportDesigner& designer, bool on) {
  designer.format.SetShowTitles(on);
  if (!on) return false;
  for (int k = 0; k < kLayoutItemCount; ++k) {
    const LayoutItem& item = designer.format.items[static_cast<std::size_t>(k)];
    if (!TooClose(designer.format, k, item.Col, item.Row)) continue;
    designer.ui.Beep();
    designer.ui.Message(
        RightTrim(DesignerItemName(designer.store, k)) + " is too close to another field. Increase spacing.",
        Icon::Exclamation);
    designer.format.SetShowTitles(false);
    return false;
  }
  return true;
}

}  // namespace vrk
