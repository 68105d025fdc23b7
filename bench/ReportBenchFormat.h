// The report format the report benchmarks print the collection with: three lines an entry.
#pragma once

#include "report/ReportFormat.h"

namespace vrk::bench {

// Artist at column 1 and the entry number at column 40; Title at column 5 of line 2; Label at
// column 5 and Price at column 40 of line 3.
inline ReportFormat ThreeLineFormat() {
  ReportFormat format;
  for (LayoutItem& item : format.items) item.LinesPerEntry = 3;
  const auto place = [&format](int item, short row, short col, short width) {
    LayoutItem& placed = format.items[static_cast<std::size_t>(item)];
    placed.Row = row;
    placed.Col = col;
    placed.Width = width;
  };
  place(0, 1, 1, 30);
  place(kEntryNumberItem, 1, 40, 8);
  place(1, 2, 5, 30);
  place(2, 3, 5, 20);
  place(4, 3, 40, 8);
  return format;
}

}  // namespace vrk::bench
