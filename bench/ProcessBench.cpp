// vrkcli as a whole program, each call a process of its own started and waited for, beside the
// sqlite3 shell doing the same in its own process:
//
//   Start  `vrkcli --version`; sqlite3: `sqlite3 :memory: 'select 1'`. What starting costs: loading the
//          program and its shared libraries.
//   Add    `vrkcli add` of one entry to a catalog of 100,000 rows of the collection with its three key
//          indexes; sqlite3: one INSERT into the same rows with an index on each of the three columns,
//          in its own process and transaction, the default synchronous setting.
//
// Per call p50, p99 and max in microseconds. The programs are vrkcli beside this executable and the
// sqlite3 on the PATH. See bench/README.md.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "BenchData.h"
#include "platform/Programs.h"

namespace vrk::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int64_t kRows = 100'000;

// The row as an SQL INSERT into the table music.
std::string InsertSql(const Row& row) {
  return "INSERT INTO music VALUES('" + row.artist + "','" + row.title + "','" + row.label + "','" + row.year + "','" +
         row.price + "');";
}

// Runs the program that `arguments` names for each next row once an iteration, each run timed; ends
// the run when one fails.
void RunEach(benchmark::State& state, const std::function<std::vector<std::string>(const Row&)>& arguments) {
  RowSource rows(99);
  Latencies latencies;
  std::string output;
  for (auto _ : state) {
    const std::vector<std::string> words = arguments(rows.Next());
    output.clear();
    const Clock::time_point start = Clock::now();
    const std::int16_t status = sys::RunProgram(words, &output);
    latencies.Add(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (status != 0) state.SkipWithError((words[0] + " failed: " + output).c_str());
  }
  latencies.Report(state);
}

void StartVrkcli(benchmark::State& state) {
  RunEach(state, [](const Row&) { return std::vector<std::string>{"vrkcli", "--version"}; });
}

void StartSqlite(benchmark::State& state) {
  RunEach(state, [](const Row&) { return std::vector<std::string>{"sqlite3", ":memory:", "select 1"}; });
}

// The collection's rows as a CSV file and as an SQLite database with its indexes, made once.
struct ProcessCatalogs {
  ProcessCatalogs() : scratch("vrk-process-bench") {
    // vrkcli keeps its program directory (VRK.INI) in the scratch directory, not beside itself.
    ::setenv("VRK_HOME", scratch.dir.c_str(), 1);
    RowSource rows;
    std::ofstream csv(scratch.PathOf("music.csv"));
    csv << "Artist,Title,Label,Year,Price\n";
    std::string sql = "BEGIN;CREATE TABLE music(artist TEXT, title TEXT, label TEXT, year TEXT, price TEXT);";
    for (std::int64_t i = 0; i < kRows; ++i) {
      const Row row = rows.Next();
      csv << row.artist << ',' << row.title << ',' << row.label << ',' << row.year << ',' << row.price << '\n';
      sql += InsertSql(row);
    }
    csv.close();
    Require(static_cast<bool>(csv), "write the CSV file");
    for (const char* column : {"artist", "title", "label"}) {
      sql += std::string("CREATE INDEX i_") + column + " ON music(" + column + " COLLATE NOCASE);";
    }
    sql += "COMMIT;";
    sqlite3* db = nullptr;
    Require(sqlite3_open(database().c_str(), &db) == SQLITE_OK, "open the database");
    Exec(db, sql);
    sqlite3_close(db);
    std::string output;
    Require(sys::RunProgram({"vrkcli", "import-csv", scratch.PathOf("music.csv"), base(), "--key", "Artist", "--key",
                             "Title", "--key", "Label"},
                            &output) == 0,
            "import the rows");
  }
  std::string base() const { return scratch.PathOf("MUSIC"); }
  std::string database() const { return scratch.PathOf("music.db"); }
  Scratch scratch;
};

const ProcessCatalogs& Catalogs() {
  static const ProcessCatalogs catalogs;
  return catalogs;
}

void AddVrkcli(benchmark::State& state) {
  const std::string base = Catalogs().base();
  RunEach(state, [&](const Row& row) {
    return std::vector<std::string>{"vrkcli",
                                    "add",
                                    base,
                                    "Artist=" + row.artist,
                                    "Title=" + row.title,
                                    "Label=" + row.label,
                                    "Year=" + row.year,
                                    "Price=" + row.price};
  });
}

void AddSqlite(benchmark::State& state) {
  const std::string database = Catalogs().database();
  RunEach(state, [&](const Row& row) { return std::vector<std::string>{"sqlite3", database, InsertSql(row)}; });
}

BENCHMARK(StartVrkcli)->Name("Start/VRK")->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StartSqlite)->Name("Start/SQLite")->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AddVrkcli)->Name("Add/VRK")->Iterations(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AddSqlite)->Name("Add/SQLite")->Iterations(100)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vrk::bench
