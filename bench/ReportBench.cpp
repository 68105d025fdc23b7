// Report output on the collection of BenchData:
//
//   AsciiReport  every entry of the 1,000,000-entry collection through a three-line report format
//                (artist and entry number; title; label and price, a sum field) into an ASCII file,
//                with the dashed line and the totals block, the file written through the file table.
//
// The entries are read in entry order as a list's walk reads them. See bench/README.md.
#include <benchmark/benchmark.h>

#include "BenchData.h"
#include "ReportBenchFormat.h"
#include "catalog/EntryFile.h"
#include "platform/Printer.h"
#include "report/AsciiFile.h"

namespace vrk::bench {
namespace {

void AsciiReport(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0), false);
  ReportState report;
  report.format = ThreeLineFormat();
  c.store.settings.DashedLine = 1;
  NoPrinter printer;
  const ReportContext context{c.store, printer, report, false};
  const std::string path = c.scratch.PathOf("report.txt");
  for (auto _ : state) {
    c.store.totals.fill(0);
    AsciiReportFile file(c.store, path);
    Require(file.Open(), "create the report file");
    EntryReader reader(c.store);
    EntryRecord entry;
    for (EntryNumber n = 1; n <= c.count; ++n) {
      Require(reader.Read(n, entry), "read an entry");
      Require(!WriteReportEntry(context, file, n, entry), "write an entry");
    }
    Require(WriteRunTotals(context, file, c.count) && file.Close(), "end the report");
  }
  state.counters["ns_per_entry"] = benchmark::Counter(static_cast<double>(c.count) * state.iterations() * 1e-9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(AsciiReport)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vrk::bench
