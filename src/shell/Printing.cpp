#include "shell/Printing.h"

#include "platform/Printer.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"
#include "report/PrintedOutput.h"
#include "report/ReportSetup.h"
#include "shell/Editing.h"

namespace vrk {

void PrintCurrentEntry(Program& program) {
  if (!program.CatalogOpen()) return;
  const ReportContext context = program.Report();
  if (RefuseOutputTarget(program, program.printer.OutputFile())) return;
  if (!ApplyPrinterFont(program.printer, program.report.printerFont)) {
    program.ui.Message("Printer Error.");
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
  if (program.printer.Setup()) (void)RefuseOutputTarget(program, program.printer.OutputFile());
}

}  // namespace vrk
