// libFuzzer: any bytes as a CSV file, read and laid out as a catalog as import-csv's first pass does.
#include "FuzzFiles.h"
#include "bench/QuietUi.h"
#include "csv/CsvImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vrk::fuzz::WriteInput("FUZZ.csv", data, size);
  vrk::QuietUi ui;
  (void)vrk::PlanCsvImport(ui, path);
  return 0;
}
