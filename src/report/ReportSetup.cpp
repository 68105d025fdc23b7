#include "report/ReportSetup.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

// The number in a box of digits; -1 when it is empty.
int BoxValue(const std::string& text) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = std::min(value * 10 + (c - '0'), 99999);  // far beyond every limit, and no overflow
  }
  return text.empty() ? -1 : value;
}

}  // namespace

void FillReportSetup(ReportSetup& setup, const ReportState& state) {
  const CatalogSettings& settings = setup.settings;
  setup.destination = state.destination;
  setup.paper = state.paper;
  setup.printMemos = settings.PrintMemos == 1;
  setup.dashedLine = settings.DashedLine == 1;
  setup.columnHeadings = settings.ColumnHeadings == 1;
  setup.lockTopLine = settings.LockTopLine >= 1;
  setup.noSpace = settings.LockTopLine == 2;
  setup.pageNumbers = settings.PageNumbers == 2;
  setup.pageLength = std::to_string(settings.PageLength);
  setup.topMargin = std::to_string(settings.TopMargin);
  setup.quickViewLines = std::to_string(settings.QuickViewMaxLines);
  setup.quickViewWidth = std::to_string(settings.QuickViewColumnWidth);
}

SetupBox CheckReportSetup(ReportSetup& setup) {
  CatalogSettings& settings = setup.settings;
  const auto refuse = [&](SetupBox box, const char* message) {
    setup.ui.Message(message);
    return box;
  };

  const int pageLength = BoxValue(setup.pageLength);
  if (pageLength < 0) return refuse(SetupBox::kPageLength, "Page Length is blank.");
  if (pageLength < 4 || pageLength > 500) {
    return refuse(SetupBox::kPageLength, "Page length must be between 4 and 500.");
  }
  settings.PageLength = static_cast<short>(pageLength);

  const int topMargin = BoxValue(setup.topMargin);
  if (topMargin < 0) return refuse(SetupBox::kTopMargin, "Top Margin is blank.");
  if (topMargin > settings.PageLength) {
    return refuse(SetupBox::kTopMargin, "Top Margin must be between 0 and Page Length.");
  }
  settings.TopMargin = static_cast<short>(topMargin);

  const int lines = BoxValue(setup.quickViewLines);
  if (lines < 0) return refuse(SetupBox::kQuickViewLines, "Quick View max # of lines is blank.");
  if (lines < 1) {
    setup.quickViewLines = "1";
    return refuse(SetupBox::kQuickViewLines, "Quick View must be set to have at least one entry.");
  }
  if (lines > 4011) {
    setup.quickViewLines = "4000";
    return refuse(SetupBox::kQuickViewLines, "Quick View can only be set for a maximum of 4000 entries.");
  }
  settings.QuickViewMaxLines = static_cast<short>(lines);

  const int width = BoxValue(setup.quickViewWidth);
  if (width < 0) return refuse(SetupBox::kQuickViewWidth, "Quick View column width is blank.");
  if (width < 3 || width > 64) {
    return refuse(SetupBox::kQuickViewWidth, "Quick View column width must be between 3 and 64.");
  }
  settings.QuickViewColumnWidth = static_cast<short>(width);

  settings.PrintMemos = setup.printMemos ? 1 : 0;
  settings.DashedLine = setup.dashedLine ? 1 : 0;
  settings.ColumnHeadings = setup.columnHeadings ? 1 : 0;
  settings.PageNumbers = setup.pageNumbers ? 2 : 1;
  settings.LockTopLine = static_cast<short>((setup.lockTopLine ? 1 : 0) + (setup.noSpace ? 1 : 0));
  return SetupBox::kNone;
}

bool SaveReportSettings(CatalogStore& store) {
  return !store.CatalogOpen() || !store.writable || WriteSettings(store, store.catalogName, store.settings);
}

std::string ReportDestinationLabel(ReportDestination destination) {
  switch (destination) {
    case ReportDestination::kPrinter: return "PRINTER";
    case ReportDestination::kQuickView: return "QUICK VIEW";
    case ReportDestination::kAsciiFile: return "ASCII FILE";
    case ReportDestination::kDbaseFile: return "DBASE III";
    case ReportDestination::kHtmlFile: return "HTML FILE";
    case ReportDestination::kMainWindow: break;
  }
  return "MAIN WINDOW";
}

void ChoosePrinterFont(ReportSetup& setup, const std::optional<PrinterFont>& chosen) {
  if (!chosen || chosen->size <= 0 || setup.printerFont == nullptr) return;
  *setup.printerFont = *chosen;
}

bool ApplyPrinterFont(Printer& printer, const PrinterFont& font) { return font.name.empty() || printer.SetFont(font); }

}  // namespace vrk
