#include "shell/Printing.h"

#include "platform/Printer.h"
#include "platform/Ui.h"
#include "report/PrintedOutput.h"
#include "report/ReportSetup.h"
#include "shell/Editing.h"

namespace vrk {

void PrintCurrentEntry(Program& program) {
  if (!program.CatalogOpen()) return;
  const ReportContext context = program.Report();
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

void PrintSetup(Program& program) { (void)program.printer.Setup(); }

}  // namespace vrk
