#include <gtest/gtest.h>

#include <filesystem>

#include "csv/CsvExport.h"
#include "csv/CsvFormat.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "fakes/WriteFaults.h"

namespace vrk {
namespace {

using test::TempDirectory;

class CsvExportTest : public ::testing::Test {
 protected:
  // The catalog CAT with `count` entries, current in the store, and an older file where the export goes.
  void MakeCatalog(int count) {
    std::vector<test::TestEntry> entries;
    for (int n = 1; n <= count; ++n) entries.push_back({{"entry " + std::to_string(n)}});
    test::MakeCurrentCatalog(store, dir.path(), "CAT", test::MakeLayout({{"Title", 10}}), entries);
    TempDirectory::WriteFile(Path(), "older");
  }
  std::string Path() const { return dir / "out.csv"; }

  TempDirectory dir;
  test::FakeFileSystem files;
  test::FakeUi ui;
  CatalogStore store{ui, files};
};

TEST_F(CsvExportTest, AWriteRefusedOrStoppedAnywhereLeavesTheOlderFileWhole) {
  MakeCatalog(2);
  for (const test::FaultKind fault : {test::FaultKind::kFail, test::FaultKind::kStop}) {
    EntryNumber written = 0;
    test::AtEveryWrite(
        fault, "export",
        [&](test::FaultKind kind, long at) {
          ui.messages.clear();
          std::filesystem::remove(Path() + ".new");
          files.SetWriteFault(kind, at);
          written = ExportCsv(store, Path());
          const long changes = files.ChangesSoFar();
          files.SetWriteFault(test::FaultKind::kNone);
          if (kind == test::FaultKind::kNone) {
            EXPECT_EQ(written, 2);
            EXPECT_EQ(TempDirectory::ReadFile(Path()),
                      "Number,Status,Title\r\n1,active,entry 1\r\n2,active,entry 2\r\n");
            TempDirectory::WriteFile(Path(), "older");
          }
          return changes;
        },
        [&](const std::string& when) {
          EXPECT_EQ(TempDirectory::ReadFile(Path()), "older") << when;
          if (fault == test::FaultKind::kFail) {
            EXPECT_EQ(written, -1) << when;
            EXPECT_EQ(ui.texts(), std::vector<std::string>{CsvMessage(
                                      Path(), "was not written (" + ErrorText(EIO) + "); it is left as it was.")})
                << when;
            EXPECT_FALSE(std::filesystem::exists(Path() + ".new")) << when;
          }
        });
  }
}

TEST_F(CsvExportTest, RowsAreWrittenInTheOrderGiven) {
  MakeCatalog(3);
  EXPECT_EQ(ExportCsvRows(store, Path(), {3, 1}), 2);
  EXPECT_EQ(TempDirectory::ReadFile(Path()), "Number,Status,Title\r\n3,active,entry 3\r\n1,active,entry 1\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CsvExportTest, CancelLeavesTheOlderFileWhole) {
  MakeCatalog(300);
  ui.cancelAtDoEvents = 3;
  EXPECT_EQ(ExportCsv(store, Path()), -1);
  EXPECT_EQ(ui.texts(),
            std::vector<std::string>{CsvMessage(Path(), "was not written (cancelled); it is left as it was.")});
  EXPECT_EQ(TempDirectory::ReadFile(Path()), "older");
  EXPECT_FALSE(std::filesystem::exists(Path() + ".new"));
}

}  // namespace
}  // namespace vrk
