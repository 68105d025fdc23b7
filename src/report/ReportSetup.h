// The Report Setup window (frmReportDest): where output goes, how paper is fed, what a report carries,
// the page geometry, the limits of the Quick View grid and the printer font.
#pragma once

#include <optional>
#include <string>

#include "report/ReportState.h"

namespace vrk {

class Ui;

// Longest text each box takes.
inline constexpr int kPageLengthDigits = 3;
inline constexpr int kTopMarginDigits = 2;
inline constexpr int kQuickViewLinesDigits = 4;
inline constexpr int kQuickViewWidthDigits = 2;

// The window's state. The destination and paper option are the pending choices, which take effect
// only on OK; the boxes hold text as typed.
struct ReportSetup {
  ReportSetup(Ui& ui, CatalogSettings& settings) : ui(ui), settings(settings) {}

  Ui& ui;
  CatalogSettings& settings;    // the checks store each value that passes into it at once
  bool formatSelected = false;  // Printer and ASCII File can be chosen only with a report format
  bool readOnly = false;        // the security code's read-only state: only Cancel
  ReportDestination destination = ReportDestination::kMainWindow;
  PaperOption paper = PaperOption::kContinuous;
  bool printMemos = false;
  bool dashedLine = false;
  bool columnHeadings = false;
  bool lockTopLine = false;
  bool noSpace = false;  // can be ticked only with Lock Top Line
  bool pageNumbers = false;
  std::string pageLength;
  std::string topMargin;
  std::string quickViewLines;
  std::string quickViewWidth;
  // Chosen with Fonts...: changed only when a font was chosen; it goes on the printer when printing starts,
  // so that choosing one needs no printer.
  PrinterFont* printerFont = nullptr;
};

// The boxes in the order OK checks them.
enum class SetupBox { kNone, kPageLength, kTopMargin, kQuickViewLines, kQuickViewWidth };

// The record as the window opens: the program's destination and paper option, the catalog's settings.
void FillReportSetup(ReportSetup& setup, const ReportState& state);
// OK's checks, box by box in order. The first that fails shows its message and is returned (a Quick
// View line count out of range is also put right in its box); each value that passes is stored in
// the settings at once, and so stays changed after a later failure. kNone when every box passed:
// the switches are then stored too.
SetupBox CheckReportSetup(ReportSetup& setup);

// Saves the current catalog's settings after a report choice, when the catalog may be changed; a
// catalog only read keeps them for the run. False after a failure's message.
bool SaveReportSettings(CatalogStore& store);

// The status bar's label of a destination: "MAIN WINDOW", "PRINTER" …
std::string ReportDestinationLabel(ReportDestination destination);

// The answer of the font chooser the Fonts... button opens, started from the printer font: nothing
// (cancelled) leaves the printer font as it was; a font becomes the printer font.
void ChoosePrinterFont(ReportSetup& setup, const std::optional<PrinterFont>& chosen);
// Puts the chosen printer font on the printer; without a chosen font the printer keeps its own.
// False when the printer refused it.
bool ApplyPrinterFont(Printer& printer, const PrinterFont& font);

}  // namespace vrk
