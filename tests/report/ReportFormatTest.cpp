// Report format files: their bytes, what makes one invalid, and a catalog's format at start-up.
#include <gtest/gtest.h>

#include "fakes/ProgramFixture.h"
#include "platform/FileSystem.h"
#include "report/ReportFormat.h"

namespace vrk {
namespace {

using test::TempDirectory;

class ReportFormatTest : public test::ProgramFixture {
 protected:
  void SetUp() override { Open(test::MakeLayout({{"Artist", 20}, {"Title", 25}, {"Year", 4}})); }
  std::string FormatFile(const std::string& name) { return dir / (name + ".FMT"); }
};

// Twelve bytes of one record: spare, Width, Row, Col, LinesPerEntry, spare.
std::string Record(short width, short row, short col, short lines, const std::string& spare = std::string(4, '\0')) {
  std::string bytes = spare.substr(0, 2);
  for (const short value : {width, row, col, lines}) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
  }
  return bytes + spare.substr(2, 2);
}

TEST_F(ReportFormatTest, WrittenBytesCarryLinesOfItemZeroAndReadBackWithSpareTexts) {
  ReportFormat format;
  InitNewReportFormat(program, format);
  format.items[0] = {.Width = 20, .Row = 1, .Col = 1, .LinesPerEntry = 2};
  format.items[2].Row = 2;
  format.items[2].Col = 5;
  format.items[21] = {.Width = 6, .Row = 2, .Col = 300};
  format.SetShowTitles(true);
  ASSERT_TRUE(WriteReportFormat(program, "LIST", format));

  std::string expected = Record(20, 1, 1, 2) + Record(25, 0, 0, 2) + Record(4, 2, 5, 2);
  for (int k = 3; k < kFieldCount; ++k) expected += Record(0, 0, 0, 2);
  expected += Record(6, 2, 300, 2) + Record(1, 0, 0, 0);
  const std::string bytes = TempDirectory::ReadFile(FormatFile("LIST"));
  EXPECT_EQ(bytes.size(), 276u);
  EXPECT_EQ(bytes, expected);
  EXPECT_FALSE(std::filesystem::exists(FormatFile("LIST") + ".new"));

  // Texts in the spare bytes of a format made elsewhere go back as they came.
  std::string foreign = bytes;
  foreign.replace(0, 2, "ab");
  foreign.replace(22, 2, "cd");
  foreign.replace(264, 12, Record(0, 7, 8, 9, "wxyz"));
  TempDirectory::WriteFile(FormatFile("OTHER"), foreign);
  ReportFormat read;
  ASSERT_TRUE(ReadReportFormat(program, "OTHER", read));
  EXPECT_FALSE(read.ShowTitles());
  EXPECT_EQ(read.items[21].Col, 300);
  ASSERT_TRUE(WriteReportFormat(program, "OTHER", read));
  EXPECT_EQ(TempDirectory::ReadFile(FormatFile("OTHER")), foreign);
}

TEST_F(ReportFormatTest, InvalidFormatsAreRefused) {
  ReportFormat format;
  InitNewReportFormat(program, format);
  ASSERT_TRUE(WriteReportFormat(program, "GOOD", format));
  const std::string good = TempDirectory::ReadFile(FormatFile("GOOD"));
  ReportFormat read;
  EXPECT_TRUE(ReadReportFormat(program, "good", read));  // names are found whatever their letter case
  EXPECT_EQ(read, format);

  for (const short lines : {0, 22}) {
    for (const int item : {0, 13, 21}) {
      std::string bad = good;
      bad.replace(static_cast<std::size_t>(item) * 12, 12, Record(5, 1, 1, lines));
      TempDirectory::WriteFile(FormatFile("BAD"), bad);
      ReportFormat untouched = format;
      EXPECT_FALSE(ReadReportFormat(program, "BAD", untouched)) << lines << " at item " << item;
      EXPECT_EQ(untouched, format);
    }
  }
  TempDirectory::WriteFile(FormatFile("EMPTY"), "");
  TempDirectory::WriteFile(FormatFile("CUT"), good.substr(0, 100));
  for (const char* name : {"EMPTY", "CUT", "MISSING"}) EXPECT_FALSE(ReadReportFormat(program, name, read)) << name;
  // The header is not checked: a file without it reads with titles off.
  TempDirectory::WriteFile(FormatFile("NOHEAD"), good.substr(0, 264));
  EXPECT_TRUE(ReadReportFormat(program, "NOHEAD", read));
}

TEST_F(ReportFormatTest, FailedWriteKeepsTheOldFormatAndSaysSo) {
  ReportFormat format;
  InitNewReportFormat(program, format);
  ASSERT_TRUE(WriteReportFormat(program, "KEEP", format));
  const std::string before = TempDirectory::ReadFile(FormatFile("KEEP"));
  format.items[0].Row = format.items[0].Col = 1;
  for (long at = 1; at <= 2; ++at) {
    files.SetWriteFault(test::FaultKind::kFail, at, ENOSPC);
    EXPECT_FALSE(WriteReportFormat(program, "KEEP", format));
    files.SetWriteFault(test::FaultKind::kNone);
    EXPECT_EQ(TempDirectory::ReadFile(FormatFile("KEEP")), before);
  }
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(ReportFormatTest, WidthsClampToTheCatalogsFieldsAndNewFormatsStartUnplaced) {
  ReportFormat format;
  InitNewReportFormat(program, format);
  EXPECT_EQ(format.items[0].Width, 20);
  EXPECT_EQ(format.items[1].Width, 25);
  EXPECT_EQ(format.items[5].Width, 0);
  EXPECT_EQ(format.items[21].Width, 6);
  for (const LayoutItem& item : format.items) EXPECT_FALSE(item.Placed());
  for (LayoutItem& item : format.items) item.Width = 40;
  ClampItemWidths(program, format);
  EXPECT_EQ(format.items[0].Width, 20);
  EXPECT_EQ(format.items[2].Width, 4);
  EXPECT_EQ(format.items[21].Width, 40);
}

TEST_F(ReportFormatTest, CatalogWithAMissingFormatHasNoneAfterTheMessage) {
  ReportFormat format;
  InitNewReportFormat(program, format);
  format.items[1] = {.Width = 25, .Row = 1, .Col = 3};
  ASSERT_TRUE(WriteReportFormat(program, "MINE", format));
  program.reportFormatName = "MINE";
  program.settings.FormatSelected = 2;
  ASSERT_TRUE(WriteSettings(program, "CAT", program.settings));
  ASSERT_TRUE(OpenCatalogOnScreen(program, dir.path(), "CAT"));
  EXPECT_EQ(program.report.format, format);
  EXPECT_TRUE(ui.messages.empty());

  std::filesystem::remove(FormatFile("MINE"));
  ASSERT_TRUE(OpenCatalogOnScreen(program, dir.path(), "CAT"));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Report MINE is missing or invalid. No report selected."});
  EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(program.reportFormatName, "");
}

}  // namespace
}  // namespace vrk
