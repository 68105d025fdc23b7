#include <gtest/gtest.h>

#include "catalog/Catalog.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::MakeLayout;
using test::TempDirectory;

class SetupFileTest : public ::testing::Test {
 protected:
  SetupFileTest() { store.catalogDirectory = dir.path(); }
  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
};

void PutShortAt(std::string& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

TEST_F(SetupFileTest, NewCatalogFilesMatchTheirLayoutByteForByte) {
  const CatalogLayout layout = MakeLayout({{"Title", 30, kKeyField},
                                           {"Price", 10, kSumField},
                                           {"Qty", 5, kKeySumField},
                                           {"Total", 10, kPlainField, "B*C"}});
  ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "BOOKS", layout));

  // Setup file, worked out by hand.
  std::string expected(1074, '\0');
  const char* names[21] = {"Title", "Price", "Qty", "Total"};
  const int types[4] = {3, 4, 5, 2};
  for (int i = 0; i < 21; ++i) {
    std::string name = i < 4 ? names[i] : "Line " + std::to_string(i + 1);
    name.resize(14, ' ');
    expected.replace(static_cast<std::size_t>(i) * 16, 14, name);
    PutShortAt(expected, static_cast<std::size_t>(i) * 16 + 14, i < 4 ? types[i] : 2);
  }
  expected.replace(336, 14, std::string(14, ' '));  // no report format chosen
  PutShortAt(expected, 382, 60);                    // page length
  PutShortAt(expected, 638, 20);                    // Quick View column width
  PutShortAt(expected, 670, 4011);                  // Quick View lines
  PutShortAt(expected, 686, 1);                     // searches ignore case
  PutShortAt(expected, 702, 1);
  PutShortAt(expected, 718, 1);  // print memos
  PutShortAt(expected, 734, 1);  // without page numbers
  for (int i = 0; i < 21; ++i) expected.replace(736 + static_cast<std::size_t>(i) * 16, 16, std::string(16, ' '));
  expected.replace(736 + 3 * 16, 3, "B*C");
  EXPECT_EQ(TempDirectory::ReadFile(dir / "BOOKS.SET"), expected);

  // Header: count 0, lengths 30 10 5 10, entry length 17 + 55 = 72.
  std::string header(54, '\0');
  PutShortAt(header, 4, 30);
  PutShortAt(header, 6, 10);
  PutShortAt(header, 8, 5);
  PutShortAt(header, 10, 10);
  PutShortAt(header, 46, 72);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "BOOKS.DAT"), header);
}

TEST_F(SetupFileTest, ReadSetupGivesBackTheLayout) {
  ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "BOOKS",
                               MakeLayout({{"Caf\xE9", 20, kKeyField}, {"Cost", 8}, {"Half", 8, kSumField, "B/A"}})));
  FieldTable fields;
  CatalogHeader header;
  ASSERT_TRUE(ReadSetup(store, dir.path(), "BOOKS", fields, header));
  EXPECT_EQ(fields[0].Name, "Caf\xE9          ");  // stored as code page 437, read back as 1252
  EXPECT_EQ(fields[0].Type, kKeyField);
  EXPECT_EQ(fields[5].Name, "Line 6        ");
  EXPECT_EQ(header.FieldLength[2], 8);
  EXPECT_EQ(header.EntryLength, 54);
  EXPECT_EQ(FormulaText(store.formulaTable[2]), "B/A");
  EXPECT_FALSE(store.formulaTable[0].Valid);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(Formula, SlotParsing) {
  const Formula sum = ParseFormula("A+B             ");
  EXPECT_TRUE(sum.Valid);
  EXPECT_EQ(sum.Operand1, 0);
  EXPECT_EQ(sum.Operator, 0);
  EXPECT_EQ(sum.Operand2, 1);
  EXPECT_EQ(ParseFormula("U/T").Operator, 3);
  EXPECT_TRUE(ParseFormula("U/T").Valid);
  EXPECT_FALSE(ParseFormula("A%B").Valid);
  EXPECT_FALSE(ParseFormula("a+B").Valid);
  EXPECT_FALSE(ParseFormula("V+B").Valid);
  EXPECT_FALSE(ParseFormula("A+").Valid);
  EXPECT_FALSE(ParseFormula(std::string(16, ' ')).Valid);
}

TEST(Layout, EntryLengthIsAtLeast54) {
  std::array<short, kFieldCount> lengths{};
  lengths[0] = 10;
  lengths[1] = 20;
  EXPECT_EQ(EntryLengthFor(lengths), 54);
  lengths[0] = 30;
  EXPECT_EQ(EntryLengthFor(lengths), 67);
}

TEST(Layout, EditorRulesAreChecked) {
  EXPECT_EQ(LayoutError(test::MakeLayout({{"A", 10}})), "");
  EXPECT_EQ(LayoutError(test::MakeLayout({{"A", 0}})), "Must Specify at lease one nozero length field.");
  EXPECT_EQ(LayoutError(test::MakeLayout({{"A", 81}})), "Field Length Maximum is 80");
  EXPECT_EQ(LayoutError(test::MakeLayout({{"A", 5}, {"B", 5, kKeyField, "A+A"}})),
            "A computed field may not be used as an index");
}

TEST_F(SetupFileTest, SettingsRoundTripAndRepairs) {
  ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "CAT", MakeLayout({{"A", 10}})));
  CatalogSettings settings;
  store.reportFormatName = "LABELS";
  settings.FormatSelected = 2;
  settings.SortedMark = 1.0f;
  settings.FirstSorted = 7;
  settings.LastSorted = 3;
  settings.PageLength = 501;
  settings.QuickViewColumnWidth = 2;
  settings.QuickViewMaxLines = 4012;
  store.caseSensitive = true;
  ASSERT_TRUE(WriteSettings(store, "CAT", settings));

  store.reportFormatName.clear();
  store.caseSensitive = false;
  CatalogSettings read;
  ReadSettings(store, "CAT", read);
  EXPECT_EQ(read.ReportName, "LABELS        ");
  EXPECT_EQ(store.reportFormatName, "LABELS");
  EXPECT_EQ(read.SortedMark, 1.0f);
  EXPECT_EQ(read.FirstSorted, 7.0f);
  EXPECT_EQ(read.LastSorted, 3.0f);
  EXPECT_EQ(read.PageLength, 60);
  EXPECT_EQ(read.QuickViewColumnWidth, 3);
  EXPECT_EQ(read.QuickViewMaxLines, 4011);
  EXPECT_EQ(read.CaseInsensitive, 0);
  EXPECT_TRUE(store.caseSensitive);

  settings.PageLength = 3;
  settings.QuickViewColumnWidth = 65;
  settings.QuickViewMaxLines = 4011;
  settings.FormatSelected = 0;
  ASSERT_TRUE(WriteSettings(store, "CAT", settings));
  ReadSettings(store, "CAT", read);
  EXPECT_EQ(read.PageLength, 60);
  EXPECT_EQ(read.QuickViewColumnWidth, 64);
  EXPECT_EQ(read.QuickViewMaxLines, 4011);
  EXPECT_EQ(store.reportFormatName, "");  // a name without the selected mark is no report format
}

TEST_F(SetupFileTest, WriteSettingsLeavesTheReservedBytes) {
  ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "CAT", MakeLayout({{"A", 10}})));
  std::string bytes = TempDirectory::ReadFile(dir / "CAT.SET");
  bytes.replace(412, 210, std::string(210, '\x5A'));
  TempDirectory::WriteFile(dir / "CAT.SET", bytes);
  CatalogSettings settings;
  ASSERT_TRUE(WriteSettings(store, "CAT", settings));
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.SET").substr(412, 210), std::string(210, '\x5A'));
}

}  // namespace
}  // namespace vrk
