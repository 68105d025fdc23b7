// Report output that needs Qt, on the collection of BenchData:
//
//   PdfReport       the first 10,000 entries through the three-line report format printed by the Qt
//                   printer into a PDF file, with the dashed line, page breaks every 60 lines, page
//                   numbers and the totals block;
//   QuickViewFill   the Quick View window made and filled with its 4,011 rows (every field of the
//                   collection a column), as the output run hands it over, and laid out once.
//
// Both run on Qt's offscreen platform. See bench/README.md.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableWidget>

#include "BenchData.h"
#include "ReportBenchFormat.h"
#include "catalog/EntryFile.h"
#include "report/PrintedOutput.h"
#include "report/QuickView.h"
#include "ui/QtPrinter.h"
#include "ui/frmQView.h"

namespace vrk::bench {
namespace {

constexpr std::int64_t kCollection = 1'000'000;

void NeedApplication() {
  static int argc = 1;
  static char name[] = "vrk_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
}

void PdfReport(benchmark::State& state) {
  NeedApplication();
  Collection& c = CollectionOf(kCollection, false);
  const auto count = static_cast<EntryNumber>(state.range(0));
  ReportState report;
  report.format = ThreeLineFormat();
  c.store.settings.DashedLine = 1;
  c.store.settings.PageNumbers = 2;
  const std::string path = c.scratch.PathOf("report.pdf");
  for (auto _ : state) {
    c.store.totals.fill(0);
    QtPrinter printer;
    printer.PrintToPdf(path);
    const ReportContext context{c.store, printer, report, false};
    PrinterSink sink(printer);
    Require(!StartPrintRun(context), "start the printed run");
    EntryReader reader(c.store);
    EntryRecord entry;
    for (EntryNumber n = 1; n <= count; ++n) {
      Require(reader.Read(n, entry), "read an entry");
      Require(!WriteReportEntry(context, sink, n, entry), "print an entry");
    }
    Require(WriteRunTotals(context, sink, count) && EndPrintJob(context), "end the printed run");
  }
  state.counters["pages"] = report.output.pageNumber;
  state.counters["ms_per_page"] = benchmark::Counter(report.output.pageNumber * state.iterations() * 1e-3,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(PdfReport)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void QuickViewFill(benchmark::State& state) {
  NeedApplication();
  Collection& c = CollectionOf(kCollection, false);
  for (auto _ : state) {
    QuickView view = LoadQuickView(c.store, true);
    EntryReader reader(c.store);
    EntryRecord entry;
    for (EntryNumber n = 1; n <= kQuickViewRows; ++n) {
      Require(reader.Read(n, entry), "read an entry");
      AddQuickViewRow(view, n, entry);
    }
    frmQView window(view);
    window.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.grdQV->rowCount());
  }
}
BENCHMARK(QuickViewFill)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vrk::bench
