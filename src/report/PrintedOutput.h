// Printed and ASCII report output: each entry laid out on report lines by the current report format
// and sent to the printer or to an ASCII file, with page breaks, top margin, column headings, the
// dashed line, lock-top-line groups, memos and the closing totals block.
//
// An entry takes report lines 1 to the format's LinesPerEntry, each 255 characters; an item is written
// into line Row from column Col on, label and value, at most Width characters of value.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "report/ReportState.h"

namespace vrk {

class Printer;

inline constexpr std::size_t kReportLineLength = 255;
inline constexpr int kPageNumberColumn = 64;
inline constexpr int kAsciiMemoWidth = 70;

// Where report lines go: the printer or an ASCII file.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual bool IsPrinter() const = 0;
  // One line; false when it could not be output (an ASCII file has said why).
  virtual bool Line(std::string_view text) = 0;
  // Characters of a memo line.
  virtual int MemoLineWidth() = 0;
};

class PrinterSink : public ReportSink {
 public:
  explicit PrinterSink(Printer& printer) : printer_(printer) {}
  bool IsPrinter() const override { return true; }
  bool Line(std::string_view text) override;
  // The page width less a tab, in letters "a" of the font, nine tenths of it; at least 1.
  int MemoLineWidth() override;

 private:
  Printer& printer_;
  std::string line_;  // the line for the printer, its storage kept from line to line
};

// The report title asked before a printed run ("Report Title"); confirmed only with a title.
struct ReportTitle {
  std::string title;
};

// Report line `row` (1-based) without its trailing blanks.
std::string_view ReportLineText(const ReportLines& lines, int row);
// Lays the entry out on report lines 1 to LinesPerEntry and adds its placed sum fields to the totals.
void ComposeEntryLines(const ReportContext& context, ReportLines& lines, EntryNumber n, const EntryRecord& entry);
// The dashed line, the lock-top blank line and the entry's report lines; false when the sink failed.
bool EmitEntryLines(const ReportContext& context, ReportSink& sink, EntryNumber n, const ReportLines& lines);
bool WriteColumnHeadings(const ReportContext& context, ReportSink& sink);
bool WriteMemo(const ReportContext& context, ReportSink& sink, float memoNumber);
// The entry with its page break, top margin, headings and memo. True when the output failed (the
// printer's failure is said here): the run ends at once.
bool WriteReportEntry(const ReportContext& context, ReportSink& sink, EntryNumber n, const EntryRecord& entry);

// A page break by the paper option; printer failures are said and the steps go on.
void NewPrinterPage(const ReportContext& context);
// Starts a printed run: font, page state and report title. True when it was cancelled because the
// printer failed (said here); nothing is to be printed then.
bool StartPrintRun(const ReportContext& context);
// The totals block after `count` entries (nothing on labels); false when the sink failed.
bool WriteRunTotals(const ReportContext& context, ReportSink& sink, EntryNumber count);
// Ends the printer's document; false after "Printer Error." when the printer failed.
bool EndPrintJob(const ReportContext& context);

// `text` ("Printer Error." …) and, on a line after it, what the printer says went wrong and what to do.
std::string PrinterFailureText(const Printer& printer, const std::string& text);

// A number with a leading sign position: " 12".
std::string SignedNumber(EntryNumber n);

}  // namespace vrk
