// What report output keeps while the program runs, and the parts of the program it works with.
#pragma once

#include "catalog/CatalogStore.h"

namespace vrk {

class Printer;

// Where the results of lists and searches go; VRK.INI keeps it as [Reports] ReportDest.
enum class ReportDestination : short {
  kMainWindow = 0,  // the first match becomes the current entry, Next and Previous step on
  kPrinter = 1,
  kQuickView = 2,
  kAsciiFile = 3,
  kDbaseFile = 4,
};

// How printed output is laid out on the paper.
enum class PaperOption : short {
  kContinuous = 0,
  kSingleSheet = 1,  // pages fed by hand
  kLabels = 2,
};

// The report settings that live only while the program runs (the catalog's own report settings are
// in its CatalogSettings).
struct ReportState {
  ReportDestination destination = ReportDestination::kMainWindow;
  PaperOption paper = PaperOption::kContinuous;
};

// What report output works with: the catalog, the printer and the report state.
struct ReportContext {
  CatalogStore& store;
  Printer& printer;
  ReportState& state;
};

}  // namespace vrk
