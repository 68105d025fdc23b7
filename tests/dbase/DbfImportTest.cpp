#include <gtest/gtest.h>

#include <filesystem>

#include "dbase/DbfExport.h"
#include "dbase/DbfImport.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeUi.h"
#include "fakes/FileSizeLimit.h"
#include "fakes/ForeignTable.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "platform/FileSystem.h"

namespace vrk {
namespace {

using test::CatalogOnDisk;
using test::Column;
using test::FakeUi;
using test::ForeignTable;
using test::Le;
using test::MakeLayout;
using test::TempDirectory;

class DbfImportTest : public ::testing::Test {
 protected:
  DbfImportTest() {
    engine.dateFormat = {.dayFirst = false, .separator = "/"};
    engine.system = &files;
  }

  // Imports into a catalog IMP made afresh.
  bool Import(const std::string& table) {
    for (const char* file : {"IMP.DAT", "IMP.SET"}) std::filesystem::remove(dir / file);
    TempDirectory::WriteFile(Path(), table);
    return ImportDBF(store, engine, Path(), "IMP", dir.path());
  }
  CatalogOnDisk Imported() const { return test::ReadCatalog(dir.path(), "IMP"); }
  // A failed import leaves no file of IMP, nor one staged for it.
  bool NothingMade() const {
    for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
      if (file.path().filename().string().find("IMP") != std::string::npos) return false;
    }
    return true;
  }
  std::string Path() const { return dir / "IN.DBF"; }
  std::string ReadError(int code) const { return DbfErrorText(code) + " When Reading DBaseIII File: " + Path(); }

  TempDirectory dir;
  test::FakeFileSystem files;
  FakeUi ui;
  CatalogStore store{ui, files};
  DbfEngine engine;
};

// Names and lengths of the catalog's fields, "NAME:length".
std::vector<std::string> Layout(const CatalogOnDisk& catalog) {
  std::vector<std::string> layout;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    EXPECT_EQ(catalog.fields[at].Type, kPlainField);
    EXPECT_FALSE(catalog.formulas[at].Valid);
    layout.push_back(RightTrim(catalog.fields[at].Name) + ":" + std::to_string(catalog.header.FieldLength[at]));
  }
  return layout;
}

std::vector<std::string> LinesFrom(int first, std::vector<std::string> layout) {
  for (int i = first; i <= kFieldCount; ++i) layout.push_back("LINE " + std::to_string(i) + ":0");
  return layout;
}

TEST_F(DbfImportTest, FieldsBecomeCatalogFieldsAndRecordsActiveEntries) {
  test::MakeCurrentCatalog(store, dir.path(), "CUR", MakeLayout({{"A", 3}, {"B", 3}, {"Sum", 4, kPlainField, "A+B"}}),
                           {});
  const std::vector<Column> columns = {{"NAME", 'C', 20}, {"BORN", 'D', 8}, {"PAID", 'L', 1}};
  ASSERT_TRUE(
      Import(ForeignTable(0x03, columns, {" Ada Lovelace        18151210T", "*Alan Turing                 F"})));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"DBASE contains 2 Records"}));
  EXPECT_EQ(ui.messages[0].icon, Icon::None);
  EXPECT_EQ(ui.busyDepth, 0);

  const CatalogOnDisk catalog = Imported();
  EXPECT_EQ(Layout(catalog), LinesFrom(4, {"NAME:20", "BORN:8", "PAID:1"}));
  EXPECT_EQ(catalog.header.EntryLength, 54);
  ASSERT_EQ(catalog.entries.size(), 2u);
  EXPECT_EQ(catalog.entries[0].Field[1], "12/10/15");
  EXPECT_EQ(catalog.entries[1].Field[0], "Alan Turing         ");
  EXPECT_EQ(catalog.entries[1].Field[1], "        ");
  EXPECT_EQ(catalog.entries[1].Field[2], "F");
  for (const EntryRecord& entry : catalog.entries) {
    EXPECT_EQ(entry.Status, kStatusActive);
    EXPECT_EQ(entry.NextSorted + entry.PrevSorted + entry.MemoNumber, 0.0f);
  }
  // The current catalog is untouched, its formulas in force.
  EXPECT_EQ(store.catalogName, "CUR");
  EXPECT_EQ(store.fieldTable[0].Name, PadFieldName("A"));
  EXPECT_EQ(store.header.FieldLength[0], 3);
  EXPECT_TRUE(store.formulaTable[2].Valid);
}

TEST_F(DbfImportTest, NumbersMemosAndLongTextsKeepTheirStoredForm) {
  const std::vector<Column> columns = {
      {"COUNT", 'N', 8}, {"NOTES", 'M', 10}, {"WEIGHT", 'F', 7, 3}, {"TEXT", 'C', 200}};
  const std::string text(200, 'w');
  ASSERT_TRUE(
      Import(ForeignTable(0x83, columns, {"*      42         7  1.250" + text, "*      -3            0.000" + text})));
  const CatalogOnDisk catalog = Imported();
  EXPECT_EQ(Layout(catalog), LinesFrom(5, {"COUNT:8", "NOTES:10", "WEIGHT:7", "TEXT:200"}));
  EXPECT_EQ(catalog.header.EntryLength, 17 + 225);
  ASSERT_EQ(catalog.entries.size(), 2u);
  EXPECT_EQ(catalog.entries[0].Status, kStatusActive) << "deleted in the table";
  EXPECT_EQ(catalog.entries[0].Field[0], "      42");
  EXPECT_EQ(catalog.entries[0].Field[1], "         7");
  EXPECT_EQ(catalog.entries[0].Field[2], "  1.250");
  EXPECT_EQ(catalog.entries[1].Field[3], text);
}

TEST_F(DbfImportTest, OnlyTheFirstTwentyFieldsAreImported) {
  std::vector<Column> columns;
  std::string record = " ";
  for (int i = 1; i <= 25; ++i) {
    columns.push_back({"F" + std::to_string(i), 'C', 3});
    record += "v" + std::to_string(10 + i);
  }
  ASSERT_TRUE(Import(ForeignTable(0x03, columns, {record})));
  const CatalogOnDisk catalog = Imported();
  const std::vector<std::string> layout = Layout(catalog);
  EXPECT_EQ(layout[19], "F20:3");
  EXPECT_EQ(layout[20], "LINE 21:0");
  EXPECT_EQ(catalog.header.EntryLength, 17 + 60);
  EXPECT_EQ(catalog.entries.at(0).Field[19], "v30");
}

TEST_F(DbfImportTest, DatesAreConvertedAndCheckedAgainstTheCalendar) {
  const struct {
    const char* stored;
    const char* value;
    int code;
    const char* separator = "/";
  } cases[] = {
      {"19980307", "03/07/98", 0},           {"20000229", "02/29/00", 0},
      {"19980307", "03.07.98", 0, "."},      {"19980307", "03.07.98", 0, ". "},
      {"        ", "        ", 0},           {"1998    ", "1998    ", 0},
      {"19000229", "19000229", kDbfBadDate}, {"19981301", "19981301", kDbfBadDate},
      {"19980431", "19980431", kDbfBadDate}, {"00000101", "00000101", kDbfBadDate},
      {"1998-3-7", "1998-3-7", kDbfBadDate},
  };
  for (const auto& c : cases) {
    TempDirectory::WriteFile(
        Path(), ForeignTable(0x03, {{"DAY", 'D', 8}, {"NOTE", 'C', 2}}, {std::string(" ") + c.stored + "ok"}));
    engine.dateFormat.separator = c.separator;
    const DbfInput input = OpenDBF(store, engine, Path());
    std::vector<std::string> values;
    EXPECT_EQ(ReadDBFRecord(engine, input, 1, values), c.code) << c.stored;
    EXPECT_EQ(values, (std::vector<std::string>{c.value, "ok"})) << c.stored;
    EXPECT_EQ(DbfClose(engine, input.handle), 0);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DbfImportTest, RecordWithAnInvalidDateIsReportedAndStillImported) {
  const std::vector<Column> columns = {{"DAY", 'D', 8}, {"NOTE", 'C', 4}};
  EXPECT_TRUE(Import(ForeignTable(0x03, columns, {" 19981345kept", " 19980307next"})));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"DBASE contains 2 Records", ReadError(kDbfBadDate)}));
  EXPECT_EQ(ui.messages[1].icon, Icon::Exclamation);
  const CatalogOnDisk catalog = Imported();
  ASSERT_EQ(catalog.entries.size(), 2u);
  EXPECT_EQ(catalog.entries[0].Field[0], "19981345");
  EXPECT_EQ(catalog.entries[0].Field[1], "kept");
  EXPECT_EQ(catalog.entries[1].Field[0], "03/07/98");
}

TEST_F(DbfImportTest, EmptyTableMakesAnEmptyCatalog) {
  ASSERT_TRUE(Import(ForeignTable(0x03, {{"NAME", 'C', 5}}, {})));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"DBASE contains 0 Records"}));
  EXPECT_EQ(Imported().header.Count(), 0);
}

TEST_F(DbfImportTest, DamagedTablesAreReportedAndMakeNoCatalog) {
  const std::string good = ForeignTable(0x03, {{"A", 'C', 2}, {"B", 'N', 3}}, {" ab123"});
  const auto patched = [&](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  const struct {
    const char* what;
    std::string bytes;
    int code;
  } cases[] = {
      {"zero bytes", "", kDbfNotDbf},
      {"truncated header", good.substr(0, 20), kDbfNotDbf},
      {"header length beyond the file", patched(8, Le(3000, 2)), kDbfNotDbf},
      {"record length lies", patched(10, Le(4000, 2)), kDbfRecordLengthMismatch},
      {"zero fields", patched(8, Le(33, 2)), kDbfNoFields},
      {"no terminator, descriptors cut off", good.substr(0, 90), kDbfNotDbf},
  };
  for (const auto& c : cases) {
    ui.messages.clear();
    EXPECT_FALSE(Import(c.bytes)) << c.what;
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{DbfErrorText(c.code) + "When Opening DBaseIII File: " + Path(),
                                                    "DBASE contains 0 Records"}))
        << c.what;
    EXPECT_TRUE(NothingMade()) << c.what;
  }
}

TEST_F(DbfImportTest, RecordsMissingAtTheEndStopTheImportAndMakeNoCatalog) {
  std::string table = ForeignTable(0x03, {{"A", 'C', 3}}, {" one", " two", " thr"});
  table.replace(4, 4, Le(5, 4));
  EXPECT_FALSE(Import(table.substr(0, table.size() - 2)));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"DBASE contains 5 Records", ReadError(kErrPastEndOfFile)}));
  EXPECT_TRUE(NothingMade());

  // A count no catalog can hold is neither believed nor used to size anything.
  ui.messages.clear();
  table.replace(4, 4, Le(0xFFFFFFFF, 4));
  EXPECT_FALSE(Import(table));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{
                            "DBASE contains 4294967295 Records",
                            "DBASE III File: " + Path() +
                                " holds more records than a catalog can count; the first 16777216 are imported.",
                            ReadError(kErrPastEndOfFile)}));
  EXPECT_TRUE(NothingMade());
}

TEST_F(DbfImportTest, DiskRefusingTheEntriesIsReportedAndLeavesNothing) {
  std::vector<std::string> records;
  for (int i = 0; i < 3000; ++i) records.push_back(" " + std::string(96, 'x') + std::to_string(1000 + i));
  TempDirectory::WriteFile(Path(), ForeignTable(0x03, {{"TEXT", 'C', 100}}, records));
  {
    test::FileSizeLimit limit(100000);
    EXPECT_FALSE(ImportDBF(store, engine, Path(), "IMP", dir.path()));
  }
  ASSERT_EQ(ui.texts(), (std::vector<std::string>{"DBASE contains 3000 Records", "The disk is full."}));
  EXPECT_EQ(ui.messages[1].title, "File Error");
  EXPECT_TRUE(NothingMade());
}

TEST_F(DbfImportTest, ExportedCatalogComesBackWithItsNamesLengthsAndTexts) {
  test::MakeCurrentCatalog(store, dir.path(), "CAT", MakeLayout({{"Title", 30}, {"Author Name", 25}, {"Year-Pub", 4}}),
                           {{{"Dune", "Herbert", "1965"}}, {{"\xC9mile", "Rousseau", "1762"}, kStatusDeleted}});
  ASSERT_EQ(ExportEntries(store, engine, Path(), 1, 2), 2);
  ASSERT_TRUE(ImportDBF(store, engine, Path(), "IMP", dir.path()));
  const CatalogOnDisk catalog = Imported();
  EXPECT_EQ(Layout(catalog), LinesFrom(4, {"TITLE:30", "AUTHOR_NAM:25", "YEAR_PUB:4"}));
  ASSERT_EQ(catalog.entries.size(), 2u);
  for (std::size_t n = 0; n < 2; ++n) {
    EntryRecord original;
    ASSERT_TRUE(ReadEntry(store, original, store.header, static_cast<EntryNumber>(n + 1), store.entryFile));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(catalog.entries[n].Field[i], original.Field[i]);
  }
}

TEST_F(DbfImportTest, AnImportKilledAtAnyWriteCountsOnlyEntriesThatAreThere) {
  std::vector<std::string> records;
  for (int i = 0; i < 2000; ++i) records.push_back(" " + std::to_string(100000 + i));
  TempDirectory::WriteFile(Path(), ForeignTable(0x03, {{"N", 'C', 6}}, records));
  const auto import = [&](test::FaultKind fault, long at) {
    for (const char* file : {"IMP.DAT", "IMP.SET"}) std::filesystem::remove(dir / file);
    files.SetWriteFault(fault, at);
    (void)ImportDBF(store, engine, Path(), "IMP", dir.path());
    const long changes = files.ChangesSoFar();
    store.files = FileTable(files);  // killed: nothing more is written
    files.SetWriteFault(test::FaultKind::kNone);
    return changes;
  };
  const long writes = import(test::FaultKind::kNone, 0);
  for (long at = 1; at <= writes; ++at) {
    import(test::FaultKind::kStop, at);
    CatalogStore reader(ui);
    const int file = OpenCatalog(reader, dir.path(), "IMP", CatalogAccess::kRead);
    if (file == 0) continue;  // killed before the catalog was whole: it does not open
    ASSERT_LE(reader.header.Count(), 2000) << "killed before write " << at;
    EntryRecord entry;
    for (EntryNumber n = 1; n <= reader.header.Count(); ++n) {
      ASSERT_TRUE(ReadEntry(reader, entry, reader.header, n, file));
      ASSERT_EQ(entry.Field[0], records[static_cast<std::size_t>(n - 1)].substr(1)) << "killed before write " << at;
    }
    (void)reader.files.Close(file);
  }
}

TEST_F(DbfImportTest, MissingTableIsReported) {
  EXPECT_FALSE(ImportDBF(store, engine, dir / "NONE.DBF", "IMP", dir.path()));
  EXPECT_EQ(ui.texts()[0], DbfErrorText(kErrFileNotFound) + "When Opening DBaseIII File: " + dir / "NONE.DBF");
  EXPECT_TRUE(NothingMade());
}

TEST_F(DbfImportTest, TextIsConvertedFromTheCodePageTheTableNames) {
  const std::string utf8 = "Caf\xC3\xA9 \xE6\x97\xA5";  // 9 bytes: Café, a blank, a character 1252 lacks
  const struct {
    const char* what;
    std::uint8_t languageDriver;
    const char* cpg;  // nullptr: no NAME.CPG
    std::string stored;
    std::string kept;
    std::vector<std::string> notices;
  } cases[] = {
      {"no code page named", 0, nullptr, "Caf\xE9", "Caf\xE9", {}},
      {"language driver 1252", 0x57, nullptr, "Caf\xE9", "Caf\xE9", {}},
      {"language driver 437", 0x01, nullptr, "Caf\x82", "Caf\xE9", {}},
      {"the CPG file before the byte",
       0x01,
       "UTF-8\r\n",
       utf8,
       "Caf\xE9 ?",
       {"Characters code page 1252 lacks, now \"?\": 1"}},
      {"an unknown code page",
       0x65,
       nullptr,
       "Caf\xE9",
       "Caf\xE9",
       {"DBASE III File: " + Path() +
        " is in a code page this program does not convert; its text is read as code page 1252."}},
  };
  for (const auto& c : cases) {
    ui.messages.clear();
    std::filesystem::remove(dir / "IN.CPG");
    if (c.cpg != nullptr) TempDirectory::WriteFile(dir / "IN.CPG", c.cpg);
    std::string table =
        ForeignTable(0x03, {{"NAME", 'C', 9}}, {" " + c.stored + std::string(9 - c.stored.size(), ' ')});
    table[29] = static_cast<char>(c.languageDriver);
    ASSERT_TRUE(Import(table)) << c.what;
    std::vector<std::string> expected = {"DBASE contains 1 Records"};
    expected.insert(c.languageDriver == 0x65 ? expected.begin() : expected.end(), c.notices.begin(), c.notices.end());
    EXPECT_EQ(ui.texts(), expected) << c.what;
    EXPECT_EQ(RightTrim(Imported().entries[0].Field[0]), c.kept) << c.what;
  }
}

TEST_F(DbfImportTest, NumbersWiderThanTheEditorAllowsAreCutToIt) {
  // Other programs write numbers 24 wide with 15 decimals, and wider.
  const std::string wide = std::string(90, ' ') + "1.5";
  const std::string full = std::string(82, '9') + ".5";
  ASSERT_TRUE(Import(ForeignTable(0x03, {{"PRICE", 'N', 24, 15}, {"BIG", 'N', 93}, {"FULL", 'F', 84, 1}},
                                  {" " + std::string(6, ' ') + "12.500000000000000" + wide + full})));
  EXPECT_EQ(ui.texts(),
            (std::vector<std::string>{"DBASE contains 1 Records", "Numbers longer than 80 characters, cut to 80: 1"}));
  const CatalogOnDisk catalog = Imported();
  EXPECT_EQ(Layout(catalog), LinesFrom(4, {"PRICE:24", "BIG:80", "FULL:80"}));
  EXPECT_EQ(catalog.entries[0].Field[0], "      12.500000000000000");
  EXPECT_EQ(catalog.entries[0].Field[1], std::string(77, ' ') + "1.5");
  EXPECT_EQ(catalog.entries[0].Field[2], std::string(80, '9'));
}

}  // namespace
}  // namespace vrk
