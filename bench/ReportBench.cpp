// Report output on the collection of BenchData:
//
//   AsciiReport  every entry of the 1,000,000-entry collection through a three-line report format
//                (artist and entry number; title; label and price, a sum field) into an ASCII file,
//                with the dashed line and the totals block, the file written through the file table;
//                SQLite: the same lines made by printf() in a query over the rows, the price added up,
//                written to a file in pieces of 1 MiB.
//
// The entries are read in entry order as a list's walk reads them. See bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdio>

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
BENCHMARK(AsciiReport)->Name("AsciiReport/VRK")->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void AsciiReportSqlite(benchmark::State& state) {
  Collection& c = CollectionOf(state.range(0), true);
  const std::string path = c.scratch.PathOf("report-sqlite.txt");
  sqlite3_stmt* select = nullptr;
  Require(
      sqlite3_prepare_v2(c.db,
                         "SELECT '-----------------------------------------------------------ENTRY:      ' || rowid,"
                         " rtrim(printf('%-39s%d', artist, rowid)), rtrim(printf('    %s', title)),"
                         " rtrim(printf('    %-35s%s', label, price)), price FROM music",
                         -1, &select, nullptr) == SQLITE_OK,
      "prepare the query");
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "create the report file");
    std::string out;
    double total = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (int column = 0; column < 4; ++column) {
        out.append(reinterpret_cast<const char*>(sqlite3_column_text(select, column)),
                   static_cast<std::size_t>(sqlite3_column_bytes(select, column)));
        out += "\r\n";
      }
      total += sqlite3_column_double(select, 4);
      if (out.size() >= (1u << 20)) {
        Require(std::fwrite(out.data(), 1, out.size(), file) == out.size(), "write the report");
        out.clear();
      }
    }
    sqlite3_reset(select);
    out += " \r\n          TOTAL PRINTED: " + std::to_string(c.count) + "\r\n \r\n" + std::to_string(total) + "\r\n";
    Require(std::fwrite(out.data(), 1, out.size(), file) == out.size() && std::fclose(file) == 0, "end the report");
  }
  sqlite3_finalize(select);
  state.counters["ns_per_entry"] = benchmark::Counter(static_cast<double>(c.count) * state.iterations() * 1e-9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(AsciiReportSqlite)->Name("AsciiReport/SQLite")->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vrk::bench
