#include "report/PrintedOutput.h"

#include <algorithm>
#include <cmath>

#include "catalog/ComputedFields.h"
#include "catalog/Memo.h"
#include "platform/Printer.h"
#include "platform/Ui.h"
#include "report/ReportSetup.h"

namespace vrk {
namespace {

constexpr const char* kDashes = "-----------------------------------------------------------ENTRY:     ";
constexpr const char* kTotalsIndent = "          ";

int LinesPerEntry(const ReportFormat& format) { return std::clamp<int>(format.LinesPerEntry(), 1, kReportLines); }

// Blanks lines 1 to `count` up to their edges; a line not yet made gets its 255 blanks.
void ResetLines(ReportLines& lines, int count) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    std::string& line = lines.text[i];
    if (line.size() != kReportLineLength) {
      line.assign(kReportLineLength, ' ');
    } else {
      std::fill_n(line.begin(), lines.edge[i], ' ');
    }
    lines.edge[i] = 0;
  }
}

// Writes at most `most` characters of `text` into report line `row` from column `col` on, never
// beyond the line's end; rows beyond the entry's lines are never output and are left alone. Returns
// the column after the text written.
int WriteAt(ReportLines& lines, int count, int row, int col, std::string_view text, std::size_t most) {
  if (row < 1 || row > count || col < 1 || static_cast<std::size_t>(col) > kReportLineLength) return col;
  const std::size_t at = static_cast<std::size_t>(col) - 1;
  const std::size_t length = std::min({text.size(), most, kReportLineLength - at});
  const auto i = static_cast<std::size_t>(row) - 1;
  lines.text[i].replace(at, length, text.data(), length);
  lines.edge[i] = std::max(lines.edge[i], at + length);
  return col + static_cast<int>(length);
}

bool OutputLines(ReportSink& sink, OutputState& output, const ReportLines& lines, int first, int last) {
  for (int i = first; i <= last; ++i) {
    if (!sink.Line(ReportLineText(lines, i))) return false;
    ++output.lineCount;
  }
  return true;
}

bool BlankLines(ReportSink& sink, OutputState& output, int count) {
  for (int i = 0; i < count; ++i) {
    if (!sink.Line(" ")) return false;
    ++output.lineCount;
  }
  return true;
}

void PrinterError(const ReportContext& context, const char* text) {
  context.store.ui.Message(PrinterFailureText(context.printer, text));
}

// The page number at its column, on a line of its own or after `text`.
bool PrintPageNumber(const ReportContext& context, const std::string& text, const std::string& number) {
  return context.printer.PrintLine(text, kPageNumberColumn, number);
}

bool PageNumbersOn(const ReportContext& context) { return context.store.settings.PageNumbers == 2; }

// The chosen printer font on the printer.
bool ApplyFont(const ReportContext& context) { return ApplyPrinterFont(context.printer, context.state.printerFont); }

}  // namespace

std::string PrinterFailureText(const Printer& printer, const std::string& text) {
  const std::string failure = printer.Failure();
  return failure.empty() ? text : text + "\r\r" + failure;
}

std::string SignedNumber(EntryNumber n) { return (n < 0 ? "" : " ") + std::to_string(n); }

bool PrinterSink::Line(std::string_view text) {
  line_.assign(text);
  return printer_.PrintLine(line_);
}

int PrinterSink::MemoLineWidth() {
  const double letter = printer_.TextWidth("a");
  if (!(letter > 0)) return 1;
  const double letters = std::round((printer_.PrintableWidth() - printer_.TextWidth("\t")) / letter);
  return std::max(1, static_cast<int>(std::lround(letters * 90 / 100)));
}

std::string_view ReportLineText(const ReportLines& lines, int row) {
  const auto i = static_cast<std::size_t>(row) - 1;
  const std::string& line = lines.text[i];
  std::size_t end = std::min(lines.edge[i], line.size());
  while (end > 0 && line[end - 1] == ' ') --end;
  return std::string_view(line).substr(0, end);
}

void ComposeEntryLines(const ReportContext& context, ReportLines& lines, EntryNumber n, const EntryRecord& entry) {
  const ReportFormat& format = context.state.format;
  const int count = LinesPerEntry(format);
  ResetLines(lines, count);
  const bool titles = format.ShowTitles();
  const std::size_t label = titles ? kFieldNameLength + 2 : 0;
  std::string computed;  // a computed field's value; a stored one is written from the entry itself
  for (int k = 0; k < kLayoutItemCount; ++k) {
    const LayoutItem& item = format.items[static_cast<std::size_t>(k)];
    if (!item.Placed()) continue;
    // The label and the value, at most the item's width of value after the label.
    std::size_t most = static_cast<std::size_t>(std::max<short>(item.Width, 0)) + label;
    const auto write = [&](int col, std::string_view text) {
      const int after = WriteAt(lines, count, item.Row, col, text, most);
      most -= std::min(most, static_cast<std::size_t>(after - col));
      return after;
    };
    std::string_view value;
    if (k == kEntryNumberItem) {
      computed = std::to_string(n);
      value = computed;
      if (titles) {
        const int col = write(item.Col, PadFieldName("Entry #"));
        write(write(col, ": "), value);
        continue;
      }
    } else {
      const auto at = static_cast<std::size_t>(k);
      const FieldDef& field = context.store.fieldTable[at];
      if (context.store.formulaTable[at].Valid) {
        computed = FieldValueText(context.store.formulaTable, entry, k);
        value = computed;
      } else {
        value = entry.Field[at];
      }
      if (IsSumField(field)) AddToTotal(context.store.totals, k, value);
      if (titles) {
        write(write(write(item.Col, field.Name), ": "), value);
        continue;
      }
    }
    write(item.Col, value);
  }
}

bool EmitEntryLines(const ReportContext& context, ReportSink& sink, EntryNumber n, const ReportLines& lines) {
  const CatalogSettings& settings = context.store.settings;
  OutputState& output = context.state.output;
  if (settings.DashedLine == 1) {
    if (!sink.Line(kDashes + SignedNumber(n))) return false;
    ++output.lineCount;
  }
  int first = 1;
  if (settings.LockTopLine == 1 || settings.LockTopLine == 2) {
    if (lines.text[0] == output.prevTopLine) {
      first = 2;
    } else {
      output.prevTopLine = lines.text[0];
      if (settings.LockTopLine == 1 && !BlankLines(sink, output, 1)) return false;
    }
  }
  return OutputLines(sink, output, lines, first, LinesPerEntry(context.state.format));
}

bool WriteColumnHeadings(const ReportContext& context, ReportSink& sink) {
  const ReportFormat& format = context.state.format;
  OutputState& output = context.state.output;
  const int count = LinesPerEntry(format);
  ResetLines(output.lines, count);
  for (int k = 0; k < kLayoutItemCount; ++k) {
    const LayoutItem& item = format.items[static_cast<std::size_t>(k)];
    if (!item.Placed()) continue;
    const std::string heading =
        k == kEntryNumberItem ? "Entry #" : RightTrim(context.store.fieldTable[static_cast<std::size_t>(k)].Name);
    WriteAt(output.lines, count, item.Row, item.Col, heading, heading.size());
  }
  const bool written = OutputLines(sink, output, output.lines, 1, count);
  output.newPageFlag = false;
  return written;
}

bool WriteMemo(const ReportContext& context, ReportSink& sink, float memoNumber) {
  OutputState& output = context.state.output;
  const auto width = static_cast<std::size_t>(sink.MemoLineWidth());
  std::string text = ReadMemo(context.store, memoNumber) + "\r";
  std::size_t at = 0;
  while (at < text.size()) {
    // A line ends at a carriage return (with the line feed after it) or a lone line feed.
    const std::size_t end = text.find_first_of("\r\n", at);
    std::string piece;
    if (end - at < width) {
      piece = text.substr(at, end - at);
      at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    } else {
      const std::size_t blank = text.rfind(' ', at + width - 1);
      const std::size_t length = blank != std::string::npos && blank >= at ? blank - at + 1 : width;
      piece = text.substr(at, length);
      at += length;
    }
    if (!sink.Line("\t" + piece)) return false;
    ++output.lineCount;
    if (sink.IsPrinter() && output.lineCount > context.store.settings.PageLength) NewPrinterPage(context);
  }
  return BlankLines(sink, output, 1);
}

bool WriteReportEntry(const ReportContext& context, ReportSink& sink, EntryNumber n, const EntryRecord& entry) {
  const CatalogSettings& settings = context.store.settings;
  OutputState& output = context.state.output;
  bool noMargin = false;
  if (output.lineCount <= 0) {
    output.lineCount = -output.lineCount;
    noMargin = true;
  }
  if (sink.IsPrinter() && output.lineCount + LinesPerEntry(context.state.format) > settings.PageLength) {
    NewPrinterPage(context);
  }
  bool written = true;
  if (settings.TopMargin > 0 && !noMargin && output.newPageFlag) {
    written = BlankLines(sink, output, settings.TopMargin);
  }
  if (written && output.newPageFlag && settings.ColumnHeadings == 1) written = WriteColumnHeadings(context, sink);
  output.newPageFlag = false;
  if (written) {
    ComposeEntryLines(context, output.lines, n, entry);
    written = EmitEntryLines(context, sink, n, output.lines);
  }
  if (written && entry.MemoNumber >= 1 && settings.PrintMemos == 1) {
    written = WriteMemo(context, sink, entry.MemoNumber);
  }
  if (written) return false;
  if (sink.IsPrinter()) PrinterError(context, "Printer Error");
  return true;
}

void NewPrinterPage(const ReportContext& context) {
  OutputState& output = context.state.output;
  const auto failed = [&] {
    context.store.ui.Beep();
    PrinterError(context, "Printer Error.");
  };
  switch (context.state.paper) {
    case PaperOption::kSingleSheet:
      context.store.ui.Message("Insert a New Sheet of Paper in the Printer", Icon::Exclamation);
      [[fallthrough]];
    case PaperOption::kContinuous:
      if (!context.printer.NewPage()) failed();
      break;
    case PaperOption::kLabels: break;
  }
  if (!ApplyFont(context)) failed();
  output.lineCount = 0;
  if (PageNumbersOn(context)) {
    ++output.pageNumber;
    if (!PrintPageNumber(context, "", SignedNumber(output.pageNumber))) failed();
    output.lineCount = 1;
  }
  output.newPageFlag = true;
}

bool StartPrintRun(const ReportContext& context) {
  if (context.state.paper == PaperOption::kLabels) return false;
  if (!ApplyFont(context)) {
    PrinterError(context, "Printer error. Please try again.");
    context.printer.AbandonDocument();
    return true;
  }
  OutputState& output = context.state.output;
  const CatalogSettings& settings = context.store.settings;
  output.lineCount = 0;
  output.pageNumber = 1;
  output.newPageFlag = true;
  ReportTitle title;
  if (context.previewTitle) {
    title.title = *context.previewTitle;
  } else if (!context.store.ui.dialogs.Show(title)) {
    title.title.clear();
  }
  const bool titled = !title.title.empty();
  if (!context.previewTitle) context.store.ui.dialogCancel = titled ? 0 : -1;
  bool printed = true;
  const std::string pageOne = PageNumbersOn(context) ? "1" : "";
  if (!titled) {
    if (!pageOne.empty()) printed = PrintPageNumber(context, "", pageOne);
  } else {
    for (int i = 0; i < settings.TopMargin && printed; ++i) {
      printed = context.printer.PrintLine(" ");
      --output.lineCount;
    }
    if (printed) {
      printed =
          pageOne.empty() ? context.printer.PrintLine(title.title) : PrintPageNumber(context, title.title, pageOne);
    }
    printed = printed && context.printer.PrintLine(" ");
    output.lineCount += 2;
  }
  if (printed) return false;
  PrinterError(context, "Printer error. Please try again.");
  context.printer.AbandonDocument();
  return true;
}

bool WriteRunTotals(const ReportContext& context, ReportSink& sink, EntryNumber count) {
  if (sink.IsPrinter() && context.state.paper == PaperOption::kLabels) return true;
  const CatalogStore& store = context.store;
  bool written = sink.Line(" ") && sink.Line(std::string(kTotalsIndent) + "TOTAL PRINTED: " + std::to_string(count)) &&
                 sink.Line(" ");
  if (written && HasSumField(store.fieldTable)) {
    written = sink.Line(std::string(kTotalsIndent) + "ENTRY TOTALS:") && sink.Line(" ");
    for (int i = 0; i < kFieldCount && written; ++i) {
      const FieldDef& field = store.fieldTable[static_cast<std::size_t>(i)];
      if (!IsSumField(field)) continue;
      written = sink.Line(std::string(15, ' ') + field.Name + ": " +
                          FormatStandard(store.totals[static_cast<std::size_t>(i)]));
    }
  }
  if (!written && sink.IsPrinter()) PrinterError(context, "Printer Error.");
  return written;
}

bool EndPrintJob(const ReportContext& context) {
  if (context.printer.EndDocument()) return true;
  PrinterError(context, "Printer Error.");
  return false;
}

}  // namespace vrk
