// What report output keeps while the program runs, and the parts of the program it works with.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "catalog/CatalogStore.h"
#include "platform/Printer.h"
#include "report/ReportFormat.h"

namespace vrk {

// Where the results of lists and searches go; VRK.INI keeps it as [Reports] ReportDest.
enum class ReportDestination : short {
  kMainWindow = 0,  // the first match becomes the current entry, Next and Previous step on
  kPrinter = 1,
  kQuickView = 2,
  kAsciiFile = 3,
  kDbaseFile = 4,
  kHtmlFile = 5,  // the ASCII file's lines as a web page
};

// How printed output is laid out on the paper.
enum class PaperOption : short {
  kContinuous = 0,
  kSingleSheet = 1,  // pages fed by hand
  kLabels = 2,
};

// An entry's report lines, each kept 255 characters long from one entry to the next. `edge` is where
// each line's text ends: past it the line is blank, so that a line is cleared and trimmed up to there only.
struct ReportLines {
  std::array<std::string, kReportLines> text;
  std::array<std::size_t, kReportLines> edge{};
};

// Where printed and ASCII output has got to. It lasts from run to run: a current entry printed
// between runs joins the page in progress, and on labels every run goes on where the last ended.
struct OutputState {
  int lineCount = 0;         // lines on the page; 0 or below: no top margin before the next entry
  bool newPageFlag = false;  // a page or file has just begun: top margin and headings come first
  short pageNumber = 1;
  std::string prevTopLine;  // report line 1 of the last entry that printed it (Lock Top Line)
  ReportLines lines;        // the report lines of the entry being written
};

// What report output keeps while the program runs: the report settings that are not the catalog's
// (those are in its CatalogSettings), and the current report format, which drives all printed and
// ASCII output.
struct ReportState {
  ReportDestination destination = ReportDestination::kMainWindow;
  PaperOption paper = PaperOption::kContinuous;
  // The font chosen in Report Setup; an empty name means none was chosen and the printer keeps its own.
  PrinterFont printerFont{.name = "", .size = 0};
  ReportFormat format;  // the current report format; its name is the store's reportFormatName
  OutputState output;
};

// The report settings every output writer reads: the program-wide ones and the report members of the
// current catalog's settings (DashedLine, ColumnHeadings, PageLength, TopMargin, LockTopLine,
// QuickViewMaxLines, QuickViewColumnWidth, PrintMemos, PageNumbers, ReportName, FormatSelected).
struct ReportSettings {
  ReportState& program;
  CatalogSettings& catalog;
};

// What report output works with: the catalog, the printer and the report state.
struct ReportContext {
  CatalogStore& store;
  Printer& printer;
  ReportState& state;
  bool mayChange = false;  // entries may be changed (Quick View's edits)
  // Set for a print preview: its report title (empty for none), asked once before the pages are laid
  // out; no completion message follows.
  std::optional<std::string> previewTitle = std::nullopt;
  // Told of each entry a Quick View edit has written, with its record before and after the edit.
  std::function<void(EntryNumber, const EntryRecord&, const EntryRecord&)> entryEdited = nullptr;

  ReportSettings Settings() const { return {state, store.settings}; }
};

}  // namespace vrk
