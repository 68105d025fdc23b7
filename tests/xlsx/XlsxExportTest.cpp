#include "xlsx/XlsxExport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "fakes/Catalogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;

// The workbook's first sheet read back by openpyxl, a line of tab-separated cells per row.
std::string ReadSheet(const std::string& path) {
  const std::string command =
      "/usr/bin/python3 -c \"import sys, openpyxl\n"
      "for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(values_only=True):\n"
      "    print('\\t'.join(str(v) for v in row))\" '" +
      path + "'";
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  if (pipe == nullptr) return text;
  char buffer[256];
  while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, got);
  return text;
}

TEST(XlsxExportRows, RowsAreWrittenInTheOrderGiven) {
  TempDirectory dir;
  test::FakeFileSystem files;
  test::FakeUi ui;
  CatalogStore store{ui, files};
  test::MakeCurrentCatalog(store, dir.path(), "CAT", test::MakeLayout({{"Title", 10}}),
                           {{{"entry 1"}}, {{"entry 2"}}, {{"entry 3"}}});
  const std::string path = dir / "rows.xlsx";
  EXPECT_EQ(ExportXlsxRows(store, path, {3, 1}), 2);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ReadSheet(path), "Number\tStatus\tTitle\n3\tactive\tentry 3\n1\tactive\tentry 1\n");
}

}  // namespace
}  // namespace vrk
