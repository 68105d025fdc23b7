#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/ComputedFields.h"
#include "dbase/DbfExport.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeUi.h"
#include "fakes/FileSizeLimit.h"
#include "fakes/ForeignTable.h"
#include "fakes/Layouts.h"
#include "fakes/Locale.h"
#include "fakes/TempDirectory.h"
#include "report/Completion.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::Le;
using test::MakeLayout;
using test::TempDirectory;
using test::TestEntry;

class DbfExportTest : public ::testing::Test {
 protected:
  DbfExportTest() {
    store.programDirectory = dir.path();
    engine.today = DbfDate{2024, 3, 5};
  }

  void Make(const CatalogLayout& layout, const std::vector<TestEntry>& entries, const std::string& name = "CAT") {
    EXPECT_TRUE(store.files.Close(store.entryFile));
    test::MakeCurrentCatalog(store, dir.path(), name, layout, entries);
  }
  EntryNumber Export() { return ExportEntries(store, engine, Path(), 1, store.header.Count()); }
  std::string Path() const { return dir / "OUT.DBF"; }
  std::string Table() const { return TempDirectory::ReadFile(Path()); }
  bool AllHandlesFree() const {
    return std::none_of(engine.tables.begin(), engine.tables.end(), [](const DbfTable& t) { return t.taken; });
  }

  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
  DbfEngine engine;
};

std::string Descriptor(const std::string& name, int length) {
  std::string bytes(32, '\0');
  bytes.replace(0, name.size(), name);
  bytes[11] = 'C';
  bytes[16] = static_cast<char>(length);
  return bytes;
}

TEST_F(DbfExportTest, EveryEntryBecomesAnUndeletedRecordOfCharacterFields) {
  Make(MakeLayout({{"Title", 30}, {"Author", 25}, {"Year", 4}}),
       {{{"Dune", "Herbert", "1965"}}, {{"\xC9mile", "Rousseau", "1762"}, kStatusDeleted}});
  ASSERT_EQ(Export(), 2);
  EXPECT_TRUE(AllHandlesFree());
  const std::string bytes = Table();
  EXPECT_EQ(bytes.substr(4, 8), Le(2, 4) + Le(129, 2) + Le(60, 2));
  EXPECT_EQ(bytes.substr(32, 97), Descriptor("TITLE", 30) + Descriptor("AUTHOR", 25) + Descriptor("YEAR", 4) + "\r");
  const std::string first = " Dune" + std::string(26, ' ') + "Herbert" + std::string(18, ' ') + "1965";
  const std::string second = " \xC9mile" + std::string(25, ' ') + "Rousseau" + std::string(17, ' ') + "1762";
  EXPECT_EQ(bytes.substr(129), first + second) << "code page 1252 text, the deleted entry not marked";
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DbfExportTest, UnusedFieldsAreSkippedAndFieldTwentyOneIsExportedLikeTheOthers) {
  CatalogLayout layout = MakeLayout({{"Code", 5}, {"Unused", 0}, {"Shelf", 6}});
  layout.fields[kMediaField].Name = PadFieldName("Pictures");
  layout.lengths[kMediaField] = 12;
  std::vector<std::string> texts(kFieldCount);
  texts[0] = "abc";
  texts[2] = "xyz";
  texts[kMediaField] =
      "a.bmp\x01"
      "b.wav";
  Make(layout, {{texts}});
  ASSERT_EQ(Export(), 1);
  const std::string bytes = Table();
  EXPECT_EQ(bytes.substr(32, 97), Descriptor("CODE", 5) + Descriptor("SHELF", 6) + Descriptor("PICTURES", 12) + "\r");
  EXPECT_EQ(bytes.substr(129),
            " abc  xyz   a.bmp\x01"
            "b.wav ");
}

TEST_F(DbfExportTest, FieldNamesTheEngineRefusesShowItsMessageAndWriteNothing) {
  const struct {
    const char* name;
    CatalogLayout layout;
    std::string message;
  } cases[] = {
      {"LEADING", MakeLayout({{"1st Owner", 10}}), "Error 106\r\nInvalid field name"},
      {"TWICE", MakeLayout({{"Author Name 1", 10}, {"Author Name 2", 10}}),
       "Error 109\r\nInvalid field name; already in use"},
  };
  for (const auto& c : cases) {
    ui.messages.clear();
    Make(c.layout, {{{"x"}}}, c.name);
    EXPECT_EQ(Export(), -1) << c.name;
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(ui.messages[0].text, c.message + "When Creating DBaseIII File: " + Path());
    EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(ui.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.messages[0].title, kAppTitle);
    EXPECT_FALSE(std::filesystem::exists(Path())) << c.name;
    EXPECT_TRUE(AllHandlesFree()) << c.name;
  }
}

TEST(DBFFieldName, KeepsTenLettersAndDigitsInCapitals) {
  EXPECT_EQ(DBFFieldName("Title         "), "TITLE");
  EXPECT_EQ(DBFFieldName("1st Owner     "), "1ST_OWNER");
  EXPECT_EQ(DBFFieldName("Author Name 1 "), "AUTHOR_NAM");
  EXPECT_EQ(DBFFieldName("Year-of-issue "), "YEAR_OF_IS");
  EXPECT_EQ(DBFFieldName("Caf\xE9 \xC9t\xE9   "), "CAF___T_");
  EXPECT_EQ(DBFFieldName("  x"), "__X");
  EXPECT_EQ(DBFFieldName("              "), "");
}

TEST_F(DbfExportTest, ComputedValuesAreWrittenAndSumFieldsTotalledFromZero) {
  Make(MakeLayout(
           {{"Price", 6, kSumField}, {"Count", 3}, {"Total", 10, kSumField, "A*B"}, {"Share", 4, kPlainField, "A/B"}}),
       {{{"2.5", "5"}}, {{"1", "3"}}});
  store.totals.fill(99);
  ASSERT_EQ(Export(), 2);
  EXPECT_EQ(Table().substr(32 * 5 + 1), " 2.5   5  12.5      0.5  1     3  3         0.33");
  EXPECT_EQ(CompletionText(store, ExportCompletionText(2, Path())),
            "Wrote 2 entries to DBASE III file: " + Path() + "\r\rTOTALS:\r\rPrice         \t\t:\t" +
                test::Standard("3.50") + "\rTotal         \t\t:\t" + test::Standard("15.50") + "\r");
}

// Appended records are gathered and written together: a disk that refuses them is reported when the
// table is closed, and the table is not taken for written.
TEST_F(DbfExportTest, RefusedWritesAreShownWhenTheTableIsClosed) {
  Make(MakeLayout({{"Price", 6, kSumField}}), {{{"2.5"}}});
  DbfOutput output;
  ASSERT_TRUE(CreateDBF(store, engine, Path(), output));
  EntryRecord entry;
  ASSERT_TRUE(ReadEntry(store, entry, store.header, 1, store.entryFile));
  {
    // Room for the first record, which takes the place of the end-of-file mark, and no more.
    test::FileSizeLimit limit(std::filesystem::file_size(Path()) + 6);
    EXPECT_TRUE(AppendDBFRecord(store, engine, entry, output));
    EXPECT_TRUE(AppendDBFRecord(store, engine, entry, output));
    EXPECT_FALSE(CloseDBF(store, engine, output.handle));
  }
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Error 61\r\nDisk fullWhen Closing DBIII File"}));
  EXPECT_FALSE(CloseDBF(store, engine, output.handle));
  EXPECT_EQ(ui.messages.back().text, "Error 105\r\nInvalid file mode for operationWhen Closing DBIII File");
}

TEST_F(DbfExportTest, NamePromptAndOverwriteQuestion) {
  store.catalogName = "BOOKS";
  ui.promptAnswers = {std::nullopt, "books", "books", "books"};
  EXPECT_EQ(GetDBFName(store), "");
  ASSERT_EQ(ui.namePrompts.size(), 1u);
  const NamePrompt& prompt = ui.namePrompts[0];
  EXPECT_EQ(prompt.caption, "DBASE III Export");
  EXPECT_EQ(prompt.question, "Enter DBASEIII File Name, Extension will be .DBF");
  EXPECT_EQ(prompt.preset, "BOOKS");
  EXPECT_FALSE(prompt.anyTextAllowed);
  EXPECT_EQ(prompt.maxLength, 8);
  EXPECT_EQ(GetDBFName(store), "books") << "no table of that name yet: no question";
  EXPECT_TRUE(ui.messages.empty());

  TempDirectory::WriteFile(dir / "BOOKS.DBF", "old");
  ui.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(GetDBFName(store), "");
  EXPECT_EQ(GetDBFName(store), "books");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "DBASE III File: " + dir.path() + "/books.DBF already exists, OVERWRITE?");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
  EXPECT_EQ(ui.messages[0].icon, Icon::Question);
  EXPECT_TRUE(ui.messages[0].defaultNo);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "BOOKS.DBF"), "old");
}

}  // namespace
}  // namespace vrk
