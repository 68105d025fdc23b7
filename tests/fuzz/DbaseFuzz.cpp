// libFuzzer: any bytes as a dBase III table, opened and read record by record as import-dbf reads it.
#include "FuzzFiles.h"
#include "bench/QuietUi.h"
#include "dbase/DbfImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vrk::fuzz::WriteInput("FUZZ.DBF", data, size);
  vrk::QuietUi ui;
  vrk::CatalogStore store(ui);
  vrk::DbfEngine engine;
  const vrk::DbfInput input = vrk::OpenDBF(store, engine, path);
  if (input.handle == 0) return 0;
  std::vector<std::string> values;
  for (std::int64_t record = 1; record <= input.recordCount && record <= 2000; ++record) {
    (void)vrk::ReadDBFRecord(engine, input, record, values);  // a record refused says so; the next is read
  }
  (void)vrk::DbfClose(engine, input.handle);
  return 0;
}
