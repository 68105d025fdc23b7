#include "shell/Printing.h"

#include "platform/Printer.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"
#include "report/PrintedOutput.h"
#include "report/ReportSetup.h"
#include "search/OutputRun.h"
#include "shell/Editing.h"
#include "support/IndexFile.h"

namespace vrk {

namespace {

// The members of the current list, or every entry in the catalog's order while browsing, on `pages`.
// The walk runs on copies of the search and report state and on an index handle of its own.
void PrintCurrentList(Program& program, Printer& pages, const std::string& title) {
  SearchState search = program.search;
  ListKind kind = program.listKind;
  if (kind == kBrowseEntries || kind == kMakeEntries) {
    kind = kSequentialSearch;
    search.criteria.Clear();
  }
  ReportState report = program.report;
  report.output = {};
  if (report.paper == PaperOption::kSingleSheet) report.paper = PaperOption::kContinuous;  // nobody feeds paper
  short handle = kNoIndex;
  SearchContext context{program, search, handle, {program, pages, report, /*mayChange=*/false, /*previewTitle=*/title}};
  {
    ListWalk walk(context, kind, WalkUse::kOutput);
    auto output = MakeReportOutput(context.report, ReportDestination::kPrinter);
    EntryRecord entry;
    const EntryNumber first = walk.First(entry);
    if (output->Start()) {
      const RunCount count = first > 0 ? SendMembers(walk, *output, first, entry) : RunCount{};
      if (!count.failed) output->Finish(count.sent);
    }
  }
  if (handle != kNoIndex)
    static_cast<void>(lib::CloseNDX(program.indexes, handle));  // only read through: nothing to write
}

}  // namespace

void PrintCurrentEntry(Program& program) {
  if (!program.CatalogOpen()) return;
  const ReportContext context = program.Report();
  if (RefuseOutputTarget(program, program.printer.OutputFile())) return;
  if (!ApplyPrinterFont(program.printer, program.report.printerFont)) {
    program.ui.Message(PrinterFailureText(program.printer, "Printer Error."));
    return;
  }
  EntryRecord shown = program.currentEntry;
  CopyScreenToRecord(program, shown);
  PrinterSink sink(program.printer);
  (void)WriteReportEntry(context, sink, program.currentEntryNumber, shown);  // a failure has been said
}

void EjectPage(Program& program) { (void)EndPrintJob(program.Report()); }

// A file chosen to print into that the program lives on is refused at once, and at every print.
void PrintSetup(Program& program) {
  const Printer::SetupAnswer answer = program.printer.Setup();
  if (answer == Printer::SetupAnswer::kCancelled || RefuseOutputTarget(program, program.printer.OutputFile())) return;
  if (answer == Printer::SetupAnswer::kPreview) PrintPreview(program);
}

void PrintPreview(Program& program) {
  if (!program.CatalogOpen()) return;
  ReportTitle title;
  if (program.report.paper != PaperOption::kLabels && !program.ui.dialogs.Show(title)) title.title.clear();
  if (!program.printer.Preview([&](Printer& pages) { PrintCurrentList(program, pages, title.title); })) {
    program.ui.Message("This printer has no print preview.");
  }
}

}  // namespace vrk
