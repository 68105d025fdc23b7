#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbase/DbfEngine.h"
#include "fakes/ForeignTable.h"
#include "fakes/Locale.h"
#include "platform/CodePage.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using test::Column;
using test::ForeignTable;
using test::Le;

class DbfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vrkdbfXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    engine_.today = DbfDate{2024, 3, 5};
  }
  void TearDown() override {
    // Closes what a test left open; the handles it never took refuse, as they should.
    for (int handle = 1; handle <= kDbfMaxTables; ++handle) static_cast<void>(DbfClose(engine_, handle));
    fs::remove_all(directory_);
  }

  std::string Path(const std::string& name) const { return directory_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // Creates NAME.DBF, closes it, and gives the create's code.
  int CreateCode(const std::vector<DbfFieldDef>& defs) {
    int handle = 0;
    const int code = DbfCreate(engine_, Path("RULES.DBF"), defs, handle);
    EXPECT_EQ(DbfClose(engine_, handle), 0);
    return code;
  }
  int FreeHandles() const {
    int free = 0;
    for (const DbfTable& table : engine_.tables) free += table.taken ? 0 : 1;
    return free;
  }

  std::string directory_;
  DbfEngine engine_;
};

const std::vector<DbfFieldDef> kBook = {{"TITLE", 'C', 10, 0}, {"AUTHOR", 'C', 20, 0}};

TEST_F(DbfTest, EmptyTableHasTheExpectedBytes) {
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), kBook, handle), 0);
  EXPECT_EQ(handle, 1);
  ASSERT_EQ(DbfClose(engine_, handle), 0);

  const std::string bytes = Read("BOOKS.DBF");
  ASSERT_EQ(bytes.size(), 32u * 2 + 34);
  // 124 years since 1900; the language-driver byte 3 says code page 1252.
  const std::string header =
      std::string{3, 124, 3, 5} + Le(0, 4) + Le(97, 2) + Le(31, 2) + std::string(17, '\0') + std::string{3, 0, 0};
  EXPECT_EQ(bytes.substr(0, 32), header);
  EXPECT_EQ(bytes.substr(32, 32), std::string("TITLE\0\0\0\0\0\0C\0\0\0\0\x0A", 17) + std::string(15, '\0'));
  EXPECT_EQ(bytes.substr(64, 32), std::string("AUTHOR\0\0\0\0\0C\0\0\0\0\x14", 17) + std::string(15, '\0'));
  EXPECT_EQ(bytes.substr(96), "\x0D\x1A");
}

TEST_F(DbfTest, RecordsFollowTheHeaderAndNothingFollowsTheLast) {
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), kBook, handle), 0);
  std::int64_t number = 0;
  ASSERT_EQ(DbfAppend(engine_, handle, {"Dune", "Herbert"}, number), 0);
  EXPECT_EQ(number, 1);
  ASSERT_EQ(DbfAppend(engine_, handle, {"Emma", "Austen"}, number), 0);
  EXPECT_EQ(number, 2);
  ASSERT_EQ(DbfClose(engine_, handle), 0);

  const std::string bytes = Read("BOOKS.DBF");
  ASSERT_EQ(bytes.size(), 97u + 2 * 31);
  EXPECT_EQ(bytes.substr(4, 4), Le(2, 4));
  EXPECT_EQ(bytes[96], '\x0D');
  EXPECT_EQ(bytes.substr(97, 31), " Dune      Herbert             ");
  EXPECT_EQ(bytes.substr(128), " Emma      Austen              ");
}

TEST_F(DbfTest, UpdateDateIsWrittenWhenAChangedTableCloses) {
  engine_.today = DbfDate{1998, 12, 31};
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), kBook, handle), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(Read("BOOKS.DBF").substr(1, 3), "\x62\x0C\x1F");  // 98, 12, 31

  engine_.today = DbfDate{2024, 3, 5};
  ASSERT_EQ(DbfOpen(engine_, Path("BOOKS.DBF"), handle), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(Read("BOOKS.DBF").substr(1, 3), "\x62\x0C\x1F") << "an unchanged table keeps its date";

  ASSERT_EQ(DbfOpen(engine_, Path("BOOKS.DBF"), handle), 0);
  std::int64_t number = 0;
  ASSERT_EQ(DbfAppend(engine_, handle, {"Dune"}, number), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(Read("BOOKS.DBF").substr(1, 3), "\x7C\x03\x05");  // 124, 3, 5
  DbfInfo info;
  ASSERT_EQ(DbfOpen(engine_, Path("BOOKS.DBF"), handle), 0);
  ASSERT_EQ(DbfGetInfo(engine_, handle, info), 0);
  EXPECT_EQ(info.updated.year, 2024);
  EXPECT_EQ(info.languageDriver, kDbfLanguageDriver1252);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
}

TEST_F(DbfTest, HeaderDatesOfEitherYearFormAreRead) {
  const struct {
    std::uint8_t stored;
    int year;
  } cases[] = {{126, 2026}, {100, 2000}, {99, 1999}, {80, 1980}, {26, 2026}, {0, 2000}};
  for (const auto& c : cases) EXPECT_EQ(DbfHeaderDate({c.stored, 5, 7}).year, c.year) << int{c.stored};
}

TEST_F(DbfTest, CodePagesAreNamedByTheLanguageDriverOrTheCpgFile) {
  EXPECT_EQ(DbfLanguageDriverCodePage(0x03), DbfCodePage::k1252);
  EXPECT_EQ(DbfLanguageDriverCodePage(0x57), DbfCodePage::k1252);
  EXPECT_EQ(DbfLanguageDriverCodePage(0x01), DbfCodePage::k437);
  EXPECT_EQ(DbfLanguageDriverCodePage(0x00), DbfCodePage::kUnknown);
  EXPECT_EQ(DbfLanguageDriverCodePage(0x65), DbfCodePage::kUnknown);  // code page 866
  const struct {
    const char* text;
    DbfCodePage codePage;
  } cpg[] = {{"1252", DbfCodePage::k1252},         {"ANSI 1252\r\n", DbfCodePage::k1252},
             {"windows-1252", DbfCodePage::k1252}, {"UTF-8\n", DbfCodePage::kUtf8},
             {"utf8", DbfCodePage::kUtf8},         {"ISO-8859-1", DbfCodePage::kLatin1},
             {"8859_1", DbfCodePage::kLatin1},     {"437", DbfCodePage::k437},
             {"CP866", DbfCodePage::kUnknown},     {"", DbfCodePage::kUnknown}};
  for (const auto& c : cpg) EXPECT_EQ(DbfCpgCodePage(c.text), c.codePage) << c.text;
  EXPECT_EQ(DbfCodePageFile("/d.x/items.dbf"), "/d.x/items.cpg");
  EXPECT_EQ(DbfCodePageFile("/d.x/ITEMS.DBF"), "/d.x/ITEMS.CPG");
  EXPECT_EQ(DbfCodePageFile("/d.x/items"), "/d.x/items.CPG");
  EXPECT_EQ(DbfTextToAnsi("Caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5", DbfCodePage::kUtf8), "Caf\xE9 \x80 ?");
  EXPECT_EQ(DbfTextToAnsi("Caf\x82", DbfCodePage::k437), "Caf\xE9");
  EXPECT_EQ(DbfTextToAnsi("Caf\xE9\x80", DbfCodePage::kLatin1), "Caf\xE9?");
  EXPECT_EQ(DbfTextToAnsi("Caf\xE9\x80", DbfCodePage::k1252), "Caf\xE9\x80");
}

TEST_F(DbfTest, TextsAreCutOrPaddedToTheirFields) {
  const std::vector<DbfFieldDef> defs = {{"CODE", 'C', 5, 0}, {"SHELF", 'C', 3, 0}, {"PRICE", 'N', 6, 2}};
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("ITEMS.DBF"), defs, handle), 0);
  std::int64_t number = 0;
  ASSERT_EQ(DbfAppend(engine_, handle, {"Abcdefgh", " x"}, number), 0);
  ASSERT_EQ(DbfAppend(engine_, handle, {"\xE9t\xE9", "", "  3.50"}, number), 0);
  EXPECT_EQ(DbfAppend(engine_, handle, {"a", "b", "c", "d"}, number), kDbfTooManyFields);

  DbfInfo info;
  ASSERT_EQ(DbfGetInfo(engine_, handle, info), 0);
  EXPECT_EQ(info.recordCount, 2u);
  EXPECT_EQ(info.recordLength, 15);
  DbfRecord record;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 1, record), 0);
  EXPECT_EQ(record.text, " Abcde x       ");
  EXPECT_EQ(record.fields, (std::vector<std::string>{"Abcde", " x ", "      "}));
  ASSERT_EQ(DbfReadRecord(engine_, handle, 2, record), 0);
  EXPECT_EQ(record.fields, (std::vector<std::string>{"\xE9t\xE9  ", "   ", "  3.50"}));
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(Read("ITEMS.DBF").size(), 32u * 3 + 33 + 2 * 15);
}

TEST_F(DbfTest, FieldRulesGiveTheirCodes) {
  const auto c10 = [](const std::string& name) { return DbfFieldDef{name, 'C', 10, 0}; };
  std::vector<DbfFieldDef> twentyWide(20, DbfFieldDef{"", 'C', 254, 0});
  std::vector<DbfFieldDef> many(257, DbfFieldDef{"", 'C', 1, 0});
  for (std::size_t i = 0; i < twentyWide.size(); ++i) twentyWide[i].name = "F" + std::to_string(i);
  for (std::size_t i = 0; i < many.size(); ++i) many[i].name = "F" + std::to_string(i);
  const std::vector<DbfFieldDef> allowed(many.begin(), many.begin() + 256);
  const struct {
    const char* what;
    std::vector<DbfFieldDef> defs;
    int code;
  } cases[] = {
      {"leading number", {c10("1ST")}, kDbfBadFieldName},
      {"leading zero then number", {c10("01")}, kDbfBadFieldName},
      {"leading zero", {c10("0A")}, 0},
      {"prefix of another name", {c10("AUTHOR"), c10("AUTHOR_2")}, 0},
      {"same name", {c10("AUTHOR_NAM"), c10("AUTHOR_NAM")}, kDbfNameInUse},
      {"same name after case and blanks", {c10("author_nam"), c10(" AUTHOR_NAM ")}, kDbfNameInUse},
      {"underscore first", {c10("_NAME")}, kDbfBadFieldName},
      {"eleven characters", {c10("ABCDEFGHIJK")}, kDbfBadFieldName},
      {"bad character", {c10("NAME-1")}, kDbfBadFieldName},
      {"blank name", {c10("   ")}, kDbfBadFieldName},
      {"F type", {{"WEIGHT", 'F', 10, 2}}, kDbfBadType},
      {"unknown type", {{"X", 'X', 10, 0}}, kDbfBadType},
      {"zero length", {{"X", 'C', 0, 0}}, kDbfBadFieldLength},
      {"C too long", {{"X", 'C', 255, 0}}, kDbfBadFieldLength},
      {"D not 8", {{"X", 'D', 7, 0}}, kDbfBadFieldLength},
      {"L not 1", {{"X", 'L', 2, 0}}, kDbfBadFieldLength},
      {"M not 10", {{"X", 'M', 9, 0}}, kDbfBadFieldLength},
      {"N too long", {{"X", 'N', 20, 0}}, kDbfBadFieldLength},
      {"N widest", {{"X", 'N', 19, 15}, {"D", 'D', 8, 0}, {"L", 'L', 1, 0}, {"M", 'M', 10, 0}}, 0},
      {"N 16 decimals", {{"X", 'N', 19, 16}}, kDbfBadDecimals},
      {"decimals fill the field", {{"X", 'N', 5, 5}}, kDbfBadDecimals},
      {"negative decimals", {{"X", 'C', 5, -1}}, kDbfBadDecimals},
      {"length before name", {{"1ST", 'C', 0, 0}}, kDbfBadFieldLength},
      {"decimals before name", {{"1ST", 'N', 19, 16}}, kDbfBadDecimals},
      {"name before type", {{"1ST", 'F', 10, 0}}, kDbfBadFieldName},
      {"none", {}, kDbfNoFields},
      {"record over 4096", twentyWide, kDbfRecordTooLong},
      {"256 fields", allowed, 0},
      {"257 fields", many, kDbfTooManyFields},
  };
  for (const auto& rule : cases) EXPECT_EQ(CreateCode(rule.defs), rule.code) << rule.what;
}

TEST_F(DbfTest, NamesAreStoredTrimmedAndUpperCased) {
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), {{" title ", 'C', 10, 0}, {"price", 'N', 8, 2}}, handle), 0);
  DbfFieldDef field;
  ASSERT_EQ(DbfGetField(engine_, handle, 1, field), 0);
  EXPECT_EQ(field.name, "TITLE");
  EXPECT_EQ(field.start, 2);
  ASSERT_EQ(DbfGetField(engine_, handle, 2, field), 0);
  EXPECT_EQ(field.name, "PRICE");
  EXPECT_EQ(field.type, 'N');
  EXPECT_EQ(field.length, 8);
  EXPECT_EQ(field.decimals, 2);
  EXPECT_EQ(field.start, 12);
  EXPECT_EQ(DbfGetField(engine_, handle, 3, field), kDbfTooManyFields);
  EXPECT_EQ(DbfGetField(engine_, handle, 0, field), kDbfTooManyFields);
}

TEST_F(DbfTest, RefusedDefinitionKeepsTheHandleAndTheExistingFile) {
  Write("KEEP.DBF", "precious");
  int handle = 0;
  EXPECT_EQ(DbfCreate(engine_, Path("KEEP.DBF"), {{"1ST", 'C', 10, 0}}, handle), kDbfBadFieldName);
  EXPECT_EQ(handle, 1);
  EXPECT_EQ(Read("KEEP.DBF"), "precious");
  DbfInfo info;
  EXPECT_EQ(DbfGetInfo(engine_, handle, info), kDbfBadMode);
  EXPECT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(DbfClose(engine_, handle), kDbfBadMode);
  EXPECT_EQ(Read("KEEP.DBF"), "precious");
}

TEST_F(DbfTest, HandlesRunFromOneToTen) {
  int handle = 0;
  for (int i = 1; i <= kDbfMaxTables; ++i) {
    ASSERT_EQ(DbfCreate(engine_, Path("T" + std::to_string(i) + ".DBF"), kBook, handle), 0);
    EXPECT_EQ(handle, i);
  }
  EXPECT_EQ(DbfCreate(engine_, Path("T11.DBF"), kBook, handle), kDbfNoTableHandles);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(DbfOpen(engine_, Path("T1.DBF"), handle), kDbfNoTableHandles);
  EXPECT_FALSE(fs::exists(Path("T11.DBF")));

  ASSERT_EQ(DbfClose(engine_, 4), 0);
  ASSERT_EQ(DbfOpen(engine_, Path("T4.DBF"), handle), 0);
  EXPECT_EQ(handle, 4);

  ASSERT_EQ(DbfClose(engine_, 7), 0);
  DbfInfo info;
  DbfFieldDef field;
  DbfRecord record;
  std::int64_t number = 0;
  for (int bad : {0, 11, -1}) {
    EXPECT_EQ(DbfClose(engine_, bad), kDbfBadHandle);
    EXPECT_EQ(DbfAppend(engine_, bad, {}, number), kDbfBadHandle);
    EXPECT_EQ(DbfGetInfo(engine_, bad, info), kDbfBadHandle);
    EXPECT_EQ(DbfGetField(engine_, bad, 1, field), kDbfBadHandle);
    EXPECT_EQ(DbfReadRecord(engine_, bad, 1, record), kDbfBadHandle);
  }
  EXPECT_EQ(DbfClose(engine_, 7), kDbfBadMode);
  EXPECT_EQ(DbfAppend(engine_, 7, {}, number), kDbfBadMode);
  EXPECT_EQ(DbfGetInfo(engine_, 7, info), kDbfBadMode);
  EXPECT_EQ(DbfGetField(engine_, 7, 1, field), kDbfBadMode);
  EXPECT_EQ(DbfReadRecord(engine_, 7, 1, record), kDbfBadMode);
}

TEST_F(DbfTest, TableIsOpenInOneHandleAtMost) {
  int first = 0;
  ASSERT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), kBook, first), 0);
  std::int64_t number = 0;
  ASSERT_EQ(DbfAppend(engine_, first, {"Dune"}, number), 0);
  int second = 0;
  EXPECT_EQ(DbfOpen(engine_, Path("books.dbf"), second), kErrFileAlreadyOpen);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(DbfCreate(engine_, Path("BOOKS.DBF"), {{"OTHER", 'C', 5, 0}}, second), kErrFileAlreadyOpen);
  EXPECT_EQ(DbfClose(engine_, second), 0);
  EXPECT_EQ(Read("BOOKS.DBF").size(), 97u + 31) << "the open table was not cut off";
  ASSERT_EQ(DbfClose(engine_, first), 0);
  EXPECT_EQ(DbfOpen(engine_, Path("BOOKS.DBF"), second), 0);
}

TEST_F(DbfTest, PathsGetTheExtensionAndAnUpperCaseFileName) {
  fs::create_directory(Path("sub"));
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, "  " + Path("sub/books") + "  ", kBook, handle), 0);
  EXPECT_EQ(engine_.tables[handle - 1].path, UpperAnsi(Path("sub/books.dbf")));
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_TRUE(fs::exists(Path("sub/BOOKS.DBF")));

  ASSERT_EQ(DbfOpen(engine_, Path("sub/books.dbf"), handle), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);

  // A lower-case file written elsewhere is found.
  Write("legacy.dbf", ForeignTable(0x03, {{"NAME", 'C', 4}}, {" abcd"}));
  ASSERT_EQ(DbfOpen(engine_, Path("Legacy"), handle), 0);
  DbfRecord record;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 1, record), 0);
  EXPECT_EQ(record.fields[0], "abcd");
}

TEST_F(DbfTest, OnlyTheFileNameDecidesAboutTheExtension) {
  EXPECT_EQ(DbfTableFile("/home/u/.cats/books"), "/home/u/.cats/BOOKS.DBF");
  EXPECT_EQ(DbfTableFile("/home/u/.cats/books.old"), "/home/u/.cats/BOOKS.OLD");
  EXPECT_EQ(DbfTableFile(" books "), "BOOKS.DBF");
  EXPECT_EQ(DbfTableFile("dir/"), "");
  EXPECT_EQ(DbfTableFile("  "), "");

  fs::create_directory(Path(".cats"));
  int handle = 0;
  ASSERT_EQ(DbfCreate(engine_, Path(".cats/books"), kBook, handle), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_TRUE(fs::exists(Path(".cats/BOOKS.DBF")));
  ASSERT_EQ(DbfOpen(engine_, Path(".cats/books"), handle), 0);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(DbfCreate(engine_, Path(".cats/"), kBook, handle), kErrBadFileName);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(FreeHandles(), kDbfMaxTables);
}

TEST_F(DbfTest, MissingFilesAndPathsAreReported) {
  int handle = 0;
  EXPECT_EQ(DbfOpen(engine_, Path("NONE.DBF"), handle), kErrFileNotFound);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(DbfOpen(engine_, Path("nodir/NONE.DBF"), handle), kErrPathNotFound);
  EXPECT_EQ(DbfCreate(engine_, Path("nodir/NEW.DBF"), kBook, handle), kErrPathNotFound);
  EXPECT_EQ(DbfClose(engine_, handle), 0);
  fs::create_directory(Path("FOLDER.DBF"));
  EXPECT_EQ(DbfOpen(engine_, Path("FOLDER.DBF"), handle), kErrPathFileAccess);
  EXPECT_EQ(FreeHandles(), kDbfMaxTables);
}

TEST_F(DbfTest, ReadOnlyFileCanBeReadButNotAppendedTo) {
  if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
  Write("RO.DBF", ForeignTable(0x03, {{"NAME", 'C', 4}}, {" abcd"}));
  ::chmod(Path("RO.DBF").c_str(), 0444);
  int handle = 0;
  ASSERT_EQ(DbfOpen(engine_, Path("RO.DBF"), handle), 0);
  DbfRecord record;
  EXPECT_EQ(DbfReadRecord(engine_, handle, 1, record), 0);
  std::int64_t number = 0;
  EXPECT_EQ(DbfAppend(engine_, handle, {"x"}, number), kDbfBadMode);
  EXPECT_EQ(DbfClose(engine_, handle), 0);
}

TEST_F(DbfTest, TablesOfOtherProgramsAreRead) {
  const std::vector<Column> columns = {{"NAME", 'C', 8},       {"PRICE", 'N', 7, 2}, {"INSTOCK", 'L', 1},
                                       {"BOUGHT", 'D', 8},     {"NOTES", 'M', 10},   {"WEIGHT", 'F', 10, 3},
                                       {"LONGNAME_XY", 'C', 2}};
  const std::string first = " Hammer    12.50T20240105         1     2.500ab";
  const std::string deleted = "*Saw        8.00F19991231                    cd";
  ASSERT_EQ(first.size(), 47u);
  ASSERT_EQ(deleted.size(), 47u);
  Write("TOOLS.DBF", ForeignTable(0x83, columns, {first, deleted}) + "\x1A");

  int handle = 0;
  ASSERT_EQ(DbfOpen(engine_, Path("TOOLS.DBF"), handle), 0);
  DbfInfo info;
  ASSERT_EQ(DbfGetInfo(engine_, handle, info), 0);
  EXPECT_EQ(info.recordCount, 2u);
  EXPECT_EQ(info.fieldCount, 7);
  EXPECT_EQ(info.recordLength, 47);
  EXPECT_TRUE(info.hasMemo);

  int start = 2;
  for (int i = 0; i < 7; ++i) {
    DbfFieldDef field;
    ASSERT_EQ(DbfGetField(engine_, handle, i + 1, field), 0);
    EXPECT_EQ(field.name, columns[i].name);
    EXPECT_EQ(field.type, columns[i].type);
    EXPECT_EQ(field.length, columns[i].length);
    EXPECT_EQ(field.decimals, columns[i].decimals);
    EXPECT_EQ(field.start, start);
    start += field.length;
  }
  DbfRecord record;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 2, record), 0);
  EXPECT_EQ(record.text, deleted);
  EXPECT_EQ(record.fields,
            (std::vector<std::string>{"Saw     ", "   8.00", "F", "19991231", "          ", "          ", "cd"}));
  EXPECT_EQ(DbfReadRecord(engine_, handle, 3, record), kDbfBadRecordNumber);
  EXPECT_EQ(DbfReadRecord(engine_, handle, 0, record), kDbfBadRecordNumber);

  // Appending overwrites the end marker and leaves nothing after the new record.
  std::int64_t number = 0;
  ASSERT_EQ(DbfAppend(engine_, handle, {"Drill"}, number), 0);
  EXPECT_EQ(number, 3);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  const std::string bytes = Read("TOOLS.DBF");
  EXPECT_EQ(bytes.size(), 32u * 7 + 33 + 3 * 47);
  EXPECT_EQ(bytes[0], '\x83');
  EXPECT_EQ(bytes.substr(bytes.size() - 47, 6), " Drill");
}

TEST_F(DbfTest, VersionsAndWideTablesOfOtherProgramsAreRead) {
  const struct {
    std::uint8_t version;
    int code;
    bool memo;
  } versions[] = {{0x03, 0, false},          {0x63, 0, false},          {0x83, 0, true},          {0x8B, 0, true},
                  {0x30, kDbfNotDbf, false}, {0x04, kDbfNotDbf, false}, {0xF5, kDbfNotDbf, false}};
  for (const auto& v : versions) {
    Write("V.DBF", ForeignTable(v.version, {{"A", 'C', 1}}, {}));
    int handle = 0;
    ASSERT_EQ(DbfOpen(engine_, Path("V.DBF"), handle), v.code) << int{v.version};
    DbfInfo info;
    if (v.code == 0) {
      EXPECT_EQ(DbfGetInfo(engine_, handle, info), 0);
      EXPECT_EQ(DbfClose(engine_, handle), 0);
    }
    EXPECT_EQ(info.hasMemo, v.memo) << int{v.version};
  }

  std::vector<Column> columns;
  std::string record = " ";
  for (int i = 1; i <= 25; ++i) {
    columns.push_back({"F" + std::to_string(i), 'C', 3});
    record += "v" + std::to_string(10 + i);
  }
  Write("WIDE.DBF", ForeignTable(0x03, columns, {record}));
  int handle = 0;
  ASSERT_EQ(DbfOpen(engine_, Path("WIDE.DBF"), handle), 0);
  DbfRecord read;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 1, read), 0);
  ASSERT_EQ(read.fields.size(), 25u);
  EXPECT_EQ(read.fields[24], "v35");
  DbfFieldDef field;
  ASSERT_EQ(DbfGetField(engine_, handle, 25, field), 0);
  EXPECT_EQ(field.name, "F25");
  EXPECT_EQ(DbfGetField(engine_, handle, 26, field), kDbfTooManyFields);
}

TEST_F(DbfTest, HeaderWithoutTerminatorIsReadByItsLength) {
  std::string bytes = ForeignTable(0x03, {{"A", 'C', 2}, {"B", 'C', 1}}, {" xyz"});
  bytes.erase(96, 1);
  bytes.replace(8, 2, Le(96, 2));
  Write("NOEND.DBF", bytes);
  int handle = 0;
  ASSERT_EQ(DbfOpen(engine_, Path("NOEND.DBF"), handle), 0);
  DbfRecord record;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 1, record), 0);
  EXPECT_EQ(record.fields, (std::vector<std::string>{"xy", "z"}));
}

TEST_F(DbfTest, DamagedFilesAreRefused) {
  const std::string good = ForeignTable(0x03, {{"A", 'C', 2}, {"B", 'N', 3}}, {" ab123"});
  const auto patched = [&](std::size_t at, const std::string& bytes) {
    std::string copy = good;
    return copy.replace(at, bytes.size(), bytes);
  };
  const struct {
    const char* what;
    std::string bytes;
    int code;
  } cases[] = {
      {"empty file", "", kDbfNotDbf},
      {"truncated header", good.substr(0, 20), kDbfNotDbf},
      {"unknown version", patched(0, "\x05"), kDbfNotDbf},
      {"header length below its descriptors", patched(8, Le(65, 2)), kDbfRecordLengthMismatch},
      {"record length lies", patched(10, Le(40, 2)), kDbfRecordLengthMismatch},
      {"no fields", patched(8, Le(33, 2)), kDbfNoFields},
      {"header length below the header", patched(8, Le(12, 2)), kDbfNoFields},
      {"descriptors past the end of the file", good.substr(0, 80), kDbfNotDbf},
      {"header length beyond the file", patched(8, Le(3000, 2)), kDbfNotDbf},
      {"more than 256 descriptors", patched(8, Le(0xFFFF, 2)), kDbfTooManyFields},
      {"unknown field type", patched(32 + 11, "X"), kDbfNotDbf},
      {"zero field type", patched(32 + 11, std::string(1, '\0')), kDbfNotDbf},
      {"zero field length", patched(32 + 16, std::string(1, '\0')), kDbfBadFieldLength},
      {"number too long", patched(64 + 16, "\xFF"), kDbfBadFieldLength},
  };
  for (const auto& damaged : cases) {
    Write("BAD.DBF", damaged.bytes);
    int handle = -1;
    EXPECT_EQ(DbfOpen(engine_, Path("BAD.DBF"), handle), damaged.code) << damaged.what;
    EXPECT_EQ(handle, 0) << damaged.what;
    EXPECT_EQ(FreeHandles(), kDbfMaxTables) << damaged.what;
    EXPECT_FALSE(DbfErrorText(damaged.code).empty());
  }
}

TEST_F(DbfTest, RecordsMissingAtTheEndAreReportedNotInvented) {
  std::string bytes = ForeignTable(0x03, {{"A", 'C', 3}}, {" one", " two", " thr"});
  bytes.replace(4, 4, Le(5, 4));  // five records claimed, three and a half present
  Write("SHORT.DBF", bytes.substr(0, bytes.size() - 2));
  int handle = 0;
  ASSERT_EQ(DbfOpen(engine_, Path("SHORT.DBF"), handle), 0);
  DbfInfo info;
  ASSERT_EQ(DbfGetInfo(engine_, handle, info), 0);
  EXPECT_EQ(info.recordCount, 5u);
  DbfRecord record;
  ASSERT_EQ(DbfReadRecord(engine_, handle, 2, record), 0);
  EXPECT_EQ(record.fields[0], "two");
  EXPECT_EQ(DbfReadRecord(engine_, handle, 3, record), kErrPastEndOfFile);
  EXPECT_EQ(DbfReadRecord(engine_, handle, 5, record), kErrPastEndOfFile);
  EXPECT_EQ(DbfReadRecord(engine_, handle, 6, record), kDbfBadRecordNumber);
  std::int64_t number = 0;
  EXPECT_EQ(DbfAppend(engine_, handle, {"new"}, number), kDbfRecordLengthMismatch);
  ASSERT_EQ(DbfClose(engine_, handle), 0);
  EXPECT_EQ(Read("SHORT.DBF").size(), bytes.size() - 2) << "nothing written";
}

TEST(DbfErrorText, GivesCodeAndMessage) {
  EXPECT_EQ(DbfErrorText(53), "Error 53\r\nFile not found");
  EXPECT_EQ(DbfErrorText(70), "Error 70\r\nRecord or file locking error");
  EXPECT_EQ(DbfErrorText(62), "Error 62\r\nInput past end of file");
  EXPECT_EQ(DbfErrorText(76), "Error 76\r\nPath not found");
  EXPECT_EQ(DbfErrorText(101), "Error 101\r\nInternal error; no more database pool storage space");
  EXPECT_EQ(DbfErrorText(112), "Error 112\r\nInvalid record length; Record size is greater than 4096 bytes");
  EXPECT_EQ(DbfErrorText(114), "Error 114\r\nInvalid record length; doesn't match header");
  EXPECT_EQ(DbfErrorText(146), "Error 146\r\nInvalid date string");
}

TEST(DbfDateFormat, DayOrderAndSeparatorComeFromThePattern) {
  const DbfDateFormat german = DbfParseDateFormat("%d.%m.%Y");
  EXPECT_TRUE(german.dayFirst);
  EXPECT_EQ(german.separator, ".");
  const DbfDateFormat iso = DbfParseDateFormat("%Y-%m-%d");
  EXPECT_FALSE(iso.dayFirst);
  EXPECT_EQ(iso.separator, "-");
  EXPECT_TRUE(DbfParseDateFormat("%e/%m/%y").dayFirst);
  EXPECT_EQ(DbfParseDateFormat("").separator, "/");
}

// An engine takes the date format of the locale that setlocale has set when it is made: the programs
// make theirs after setlocale (vrkcli's main) or after the QApplication that calls it (vrk).
TEST(DbfDateFormat, EngineTakesTheLocaleSetBeforeIt) {
  {
    const test::LocaleScope c("C");
    ASSERT_TRUE(c.Selected());
    const DbfEngine engine;
    EXPECT_FALSE(engine.dateFormat.dayFirst);
    EXPECT_EQ(engine.dateFormat.separator, "/");
  }
  const test::LocaleScope german("de_DE.UTF-8");
  if (!german.Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  const DbfEngine engine;
  EXPECT_TRUE(engine.dateFormat.dayFirst);
  EXPECT_EQ(engine.dateFormat.separator, ".");
}

}  // namespace
}  // namespace vrk
