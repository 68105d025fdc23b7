#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/Catalog.h"
#include "csv/CsvExport.h"
#include "csv/CsvFormat.h"
#include "csv/CsvImport.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::TempDirectory;
using Texts = std::vector<std::string>;

class CsvImportTest : public ::testing::Test {
 protected:
  // Imports the bytes as the catalog IMP.
  bool Import(const std::string& csv) {
    TempDirectory::WriteFile(Path(), csv);
    const std::optional<CsvImportPlan> plan = PlanCsvImport(ui, Path());
    return plan && ImportCsv(store, Path(), *plan, "IMP", dir.path());
  }
  std::string Path() const { return dir / "in.csv"; }
  // "Name:length" of each used field.
  static Texts Fields(const test::CatalogOnDisk& catalog) {
    Texts fields;
    for (std::size_t i = 0; i < kFieldCount && catalog.header.FieldLength[i] > 0; ++i) {
      fields.push_back(RightTrim(catalog.fields[i].Name) + ":" + std::to_string(catalog.header.FieldLength[i]));
    }
    return fields;
  }

  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
};

TEST(CsvFormatTest, CellsAreQuotedOnlyWhereTheyMustBe) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain text", "plain text"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
      {" lead", "\" lead\""},
      {"trail ", "\"trail \""},
  };
  for (const auto& [text, cell] : cases) {
    std::string out = "x";
    AppendCsvCell(out, text);
    EXPECT_EQ(out, std::string("x") + cell) << text;
  }
}

TEST_F(CsvImportTest, ExportedCatalogComesBackAndExportsAlike) {
  test::MakeCurrentCatalog(store, dir.path(), "CAT",
                           test::MakeLayout({{"Title", 20}, {"N", 3}, {"Twice", 4, kPlainField, "B+B"}}),
                           {{{"Hot, \"Rats\"", "2"}}, {{" lead", "x"}, kStatusDeleted}, {{"\xC9mile"}}});
  const std::string exported =
      "Number,Status,Title,N,Twice\r\n1,active,\"Hot, \"\"Rats\"\"\",2,4\r\n2,deleted,\" lead\",x,0\r\n"
      "3,active,\xC3\x89mile,,0\r\n";
  ASSERT_EQ(ExportCsv(store, Path()), 3);
  ASSERT_EQ(TempDirectory::ReadFile(Path()), exported);

  ASSERT_TRUE(Import(exported));
  EXPECT_TRUE(ui.messages.empty());
  const test::CatalogOnDisk catalog = test::ReadCatalog(dir.path(), "IMP");
  EXPECT_EQ(Fields(catalog), (Texts{"Title:11", "N:1", "Twice:1"}));
  ASSERT_EQ(catalog.entries.size(), 3u);
  EXPECT_EQ(catalog.entries[1].Status, kStatusDeleted);
  EXPECT_EQ(catalog.entries[1].Field[0], " lead      ");

  CatalogStore again(ui);
  again.catalogDirectory = dir.path();
  again.catalogName = "IMP";
  again.entryFile = OpenCatalog(again, dir.path(), "IMP", CatalogAccess::kRead);
  ASSERT_EQ(ExportCsv(again, dir / "again.csv"), 3);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "again.csv"), exported);
}

TEST_F(CsvImportTest, ForeignTextIsFittedToTheCatalogAndEachChangeCounted) {
  const std::string longName = "A name of twenty chars";
  ASSERT_TRUE(Import("\xEF\xBB\xBF" + longName + ",,Number\n\"two\r\nlines\",x\x01y\n\n" +
                     "\xE6\x97\xA5 \xE2\x82\xAC \xC3\xA9," + std::string(90, 'v') + ",extra\n"));
  EXPECT_EQ(ui.texts(), (Texts{"Values longer than 80 characters, cut to 80: 1",
                               "Characters a catalog cannot hold, now \"?\" or a letter like them: 2",
                               "Line breaks and other control characters, now blanks: 2",
                               "Field names longer than 14 characters, cut to 14: 1"}));
  const test::CatalogOnDisk catalog = test::ReadCatalog(dir.path(), "IMP");
  EXPECT_EQ(Fields(catalog), (Texts{longName.substr(0, 14) + ":9", "Field 2:80", "Number:5"}));
  ASSERT_EQ(catalog.entries.size(), 2u);
  EXPECT_EQ(catalog.entries[0].Field[0], "two lines");
  EXPECT_EQ(catalog.entries[0].Field[1], "x y" + std::string(77, ' '));
  EXPECT_EQ(catalog.entries[0].Field[2], "     ");
  EXPECT_EQ(catalog.entries[1].Field[0], "? ? \xE9    ");
  EXPECT_EQ(catalog.entries[1].Field[1], std::string(80, 'v'));
  EXPECT_EQ(catalog.entries[1].Field[2], "extra");
}

TEST_F(CsvImportTest, AHeaderWithoutRowsKeepsItsFields) {
  ASSERT_TRUE(Import("Title,Year"));
  const test::CatalogOnDisk catalog = test::ReadCatalog(dir.path(), "IMP");
  EXPECT_EQ(Fields(catalog), (Texts{"Title:1", "Year:1"}));
  EXPECT_EQ(catalog.header.Count(), 0);
}

TEST_F(CsvImportTest, WhatACatalogCannotTakeIsRefusedAndNothingIsMade) {
  std::string wide = "Number,Status";
  for (int i = 1; i <= 21; ++i) wide += ",F" + std::to_string(i);
  const std::string file = "CSV File: " + Path();
  const std::pair<std::string, std::string> cases[] = {
      {"", " is empty; its first row must name the columns."},
      {"\xEF\xBB\xBF\r\n\r\n", " is empty; its first row must name the columns."},
      {"Number,Status\n", " has no columns besides Number and Status."},
      {wide, " has 21 columns besides Number and Status; a catalog holds at most 20 fields."},
      {"a,b\n1,2\n\n1,2,3\n", ", line 4: 3 cells, more than the 2 of the header row."},
      {"a,b\n1,\"two\nlines\n", ", line 2: a quoted value is never closed."},
      {"a,b\n1,\"two\nlines\"!\n",
       ", line 3: a quote out of place (a value with a quote in it must be quoted, and its "
       "quotes doubled)."},
      {"a\n" + std::string(1100000, 'x'), ", line 2: a value runs on for more than 1 MiB; is a closing quote missing?"},
  };
  for (const auto& [csv, message] : cases) {
    ui.messages.clear();
    EXPECT_FALSE(Import(csv)) << message;
    EXPECT_EQ(ui.texts(), Texts{file + message});
    EXPECT_FALSE(std::filesystem::exists(dir / "IMP.SET")) << message;
  }
}

TEST(CsvFormatTest, FormulasAreGuardedAndTheGuardTakenOffAgain) {
  const std::pair<const char*, const char*> cases[] = {
      {"=1+1", "'=1+1"},
      {"+x", "'+x"},
      {"-x", "'-x"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tx", "'\tx"},
      {"\rx", "'\rx"},
      {"-5.00", "-5.00"},
      {"+5", "+5"},
      {"-5,00", "-5,00"},
      {"-", "'-"},
      {"-5.0.0", "'-5.0.0"},
      {"'=x", "''=x"},
      {"'plain", "'plain"},
      {"a=b", "a=b"},
      {"", ""},
  };
  for (const auto& [text, cell] : cases) {
    EXPECT_EQ(GuardCsvCell(text), cell) << text;
    EXPECT_EQ(UnguardCsvCell(cell), text) << cell;
  }
}

TEST(CsvFormatTest, TheDelimiterIsFoundFromTheHeaderAndTheRowsAfterIt) {
  const TempDirectory dir;
  const std::pair<std::string, char> cases[] = {
      {"Name,City\nAnna,Bonn\n", ','},
      {"Name;Price\nAnna;5,00\nBo;\"7;5\"\n", ';'},
      {"Name\tNote\nAnna\ta, b; c\n", '\t'},
      {"Name|Note\nAnna|x;y\nBo|z\n", '|'},
      {"Name,Note;More\nAnna,x;y\nBo,z;w\n", ','},  // a tie goes to the comma
      {"a;b,c\n1;2,3\n4;5\n", ';'},                 // the rows decide
      {"Name\nAnna\n", ','},
      {"\"Name;x\",City\nAnna,Bonn\n", ','},  // quoted delimiters do not count
  };
  for (const auto& [text, delimiter] : cases) {
    TempDirectory::WriteFile(dir / "d.csv", text);
    EXPECT_EQ(DetectCsvDelimiter(dir / "d.csv", CsvEncoding::kUtf8), delimiter) << text;
  }
}

TEST(CsvFormatTest, EncodingsGoToUtf8AndBack) {
  const std::string utf8 = "K\xC3\xB6ln \xE2\x82\xAC";  // Köln €
  const struct {
    CsvEncoding encoding;
    std::string bytes;
    long unheld;  // characters the encoding lacks
  } cases[] = {
      {CsvEncoding::kUtf8, utf8, 0},
      {CsvEncoding::kCp1252, "K\xF6ln \x80", 0},
      {CsvEncoding::kLatin1, "K\xF6ln ?", 1},
      {CsvEncoding::kUtf16, std::string("K\0\xF6\0l\0n\0 \0\xAC\x20", 12), 0},
  };
  for (const auto& c : cases) {
    long unheld = 0;
    EXPECT_EQ(CsvEncode(utf8, c.encoding, unheld), c.bytes) << CsvEncodingText(c.encoding);
    EXPECT_EQ(unheld, c.unheld) << CsvEncodingText(c.encoding);
    const std::string start = CsvFileStart(c.encoding, true);
    // A block boundary inside a character: the decoder finishes it with the next block.
    CsvDecoder decoder(c.encoding);
    const std::string file = start + c.bytes;
    std::string back = decoder.Decode(file.substr(0, start.size() + 3));
    back += decoder.Decode(file.substr(start.size() + 3));
    if (c.unheld == 0) {
      EXPECT_EQ(back, utf8) << CsvEncodingText(c.encoding);
    }
  }
  // A UTF-16 byte-order mark decides whatever encoding was given, a big-endian one too; a pair of
  // surrogates is one character.
  EXPECT_EQ(CsvDecoder(CsvEncoding::kUtf8).Decode(std::string("\xFE\xFF\0K\xD8\x3D\xDE\x00", 8)), "K\xF0\x9F\x98\x80");
  EXPECT_EQ(CsvDecoder(CsvEncoding::kUtf8).Decode("\xEF\xBB\xBFK"), "K");
}

TEST_F(CsvImportTest, ADialectsFileComesBackAsItWasWritten) {
  test::MakeCurrentCatalog(store, dir.path(), "CAT", test::MakeLayout({{"Name", 10}, {"Price", 6}}),
                           {{{"=1+1", "-5,00"}}, {{"K\xF6ln; \"x\"", "@x"}, kStatusDeleted}});
  const CsvDialect dialect{.delimiter = ';', .encoding = CsvEncoding::kCp1252};
  ASSERT_EQ(ExportCsv(store, Path(), dialect), 2);
  EXPECT_EQ(TempDirectory::ReadFile(Path()),
            "Number;Status;Name;Price\r\n1;active;'=1+1;-5,00\r\n2;deleted;\"K\xF6ln; \"\"x\"\"\";'@x\r\n");
  const std::optional<CsvImportPlan> plan =
      PlanCsvImport(ui, Path(), {.delimiter = '\0', .encoding = CsvEncoding::kCp1252});
  ASSERT_TRUE(plan && ImportCsv(store, Path(), *plan, "IMP", dir.path()));
  EXPECT_EQ(ui.texts(), Texts{"CSV File: " + Path() + " has its values separated by semicolons."});
  const test::CatalogOnDisk catalog = test::ReadCatalog(dir.path(), "IMP");
  ASSERT_EQ(catalog.entries.size(), 2u);
  EXPECT_EQ(catalog.entries[0].Field[0], "=1+1     ");
  EXPECT_EQ(catalog.entries[1].Field[0], "K\xF6ln; \"x\"");
  EXPECT_EQ(catalog.entries[1].Field[1], "@x   ");
  EXPECT_EQ(catalog.entries[1].Status, kStatusDeleted);

  ASSERT_EQ(ExportCsv(store, Path(), {.guard = false}), 2);
  EXPECT_EQ(TempDirectory::ReadFile(Path()),
            "Number,Status,Name,Price\r\n1,active,=1+1,\"-5,00\"\r\n"
            "2,deleted,\"K\xC3\xB6ln; \"\"x\"\"\",@x\r\n");
}

}  // namespace
}  // namespace vrk
