#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::MakeLayout;
using test::TempDirectory;

class OpenCatalogTest : public ::testing::Test {
 protected:
  OpenCatalogTest() { store.catalogDirectory = dir.path(); }

  // A catalog with one field of length 10 and the given entries' statuses.
  void MakeCatalog(std::initializer_list<float> statuses) {
    for (const char* file : {"CAT.DAT", "CAT.SET"}) std::filesystem::remove(dir / file);
    ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "CAT", MakeLayout({{"Title", 10, kKeyField}})));
    const int file = OpenFile(ui, store.files, dir / "CAT.DAT", kBinary, 0, false);
    CatalogHeader header;
    EXPECT_TRUE(ReadSetup(store, dir.path(), "CAT", store.fieldTable, header));
    EntryNumber n = 0;
    for (const float status : statuses) {
      EntryRecord record = BlankEntry(header);
      record.Status = status;
      ASSERT_TRUE(WriteEntry(store, record, header, ++n, file));
    }
    header.EntryCount = static_cast<float>(n);
    ASSERT_TRUE(WriteHeader(store, file, header));
    EXPECT_TRUE(store.files.Close(file));
  }

  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
};

TEST_F(OpenCatalogTest, OpensACatalogWithEntries) {
  MakeCatalog({kStatusDeleted, kStatusActive});
  const int file = OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange);
  EXPECT_NE(file, 0);
  EXPECT_EQ(store.header.Count(), 2);
  EXPECT_EQ(store.fieldTable[0].Name, "Title         ");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.incompatibleWindows, 0);
}

TEST_F(OpenCatalogTest, EmptyCatalogOpensWithoutReadingAnEntry) {
  MakeCatalog({});
  EXPECT_NE(OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange), 0);
  EXPECT_EQ(store.header.Count(), 0);
}

TEST_F(OpenCatalogTest, MissingOrEmptyFilesDoNotOpenAndSayNothing) {
  EXPECT_EQ(OpenCatalog(store, dir.path(), "NONE", CatalogAccess::kChange), 0);
  MakeCatalog({kStatusActive});
  TempDirectory::WriteFile(dir / "CAT.SET", "");
  EXPECT_EQ(OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange), 0);
  MakeCatalog({kStatusActive});
  TempDirectory::WriteFile(dir / "CAT.DAT", "");
  EXPECT_EQ(OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange), 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.incompatibleWindows, 0);
}

TEST_F(OpenCatalogTest, ForeignFirstEntryShowsTheIncompatibilityWindow) {
  MakeCatalog({1.0f, kStatusActive});
  EXPECT_EQ(OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange), 0);
  EXPECT_EQ(ui.incompatibleWindows, 1);
  EXPECT_EQ(store.header.Count(), 0);
  EXPECT_EQ(store.header.EntryLength, 0);
  for (int i = 0; i < kFieldCount; ++i) {
    EXPECT_EQ(store.header.FieldLength[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(store.fieldTable[static_cast<std::size_t>(i)].Name, DefaultFieldName(i));
    EXPECT_EQ(store.fieldTable[static_cast<std::size_t>(i)].Type, kPlainField);
  }
  EXPECT_EQ(store.files.OpenCount(), 0u);
}

TEST_F(OpenCatalogTest, NegativeCountDoesNotOpen) {
  MakeCatalog({kStatusActive});
  std::string bytes = TempDirectory::ReadFile(dir / "CAT.DAT");
  bytes[2] = '\x80';  // -1.0
  TempDirectory::WriteFile(dir / "CAT.DAT", bytes);
  EXPECT_EQ(OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange), 0);
  EXPECT_EQ(ui.incompatibleWindows, 0);
}

TEST_F(OpenCatalogTest, DamagedFilesNeverCrash) {
  MakeCatalog({kStatusActive, kStatusActive});
  const std::string good = TempDirectory::ReadFile(dir / "CAT.DAT");
  const std::string goodSetup = TempDirectory::ReadFile(dir / "CAT.SET");
  struct Case {
    const char* what;
    std::string dat;
    std::string set;
  };
  std::string lengthLies = good;
  lengthLies[4] = '\xFF';  // field 1 claims 255 characters, more than the slot holds
  std::string countLies = good;
  countLies[3] = '\x90';  // 2^15 entries, far beyond the file
  std::string negativeLength = good;
  negativeLength[5] = '\x80';
  const Case cases[] = {
      {"truncated header", good.substr(0, 20), goodSetup},
      {"truncated entry", good.substr(0, 60), goodSetup},
      {"garbage entry file", std::string(500, '\xA7'), goodSetup},
      {"field length lies", lengthLies, goodSetup},
      {"count lies", countLies, goodSetup},
      {"negative field length", negativeLength, goodSetup},
      {"truncated setup", good, goodSetup.substr(0, 100)},
      {"garbage setup", good, std::string(1074, '\xEE')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDirectory::WriteFile(dir / "CAT.DAT", c.dat);
    TempDirectory::WriteFile(dir / "CAT.SET", c.set);
    FakeUi fresh;
    CatalogStore other{fresh};
    other.catalogDirectory = dir.path();
    const int file = OpenCatalog(other, dir.path(), "CAT", CatalogAccess::kRead);
    if (file != 0) {
      // Whatever opened must be readable entry by entry within its own header.
      EntryRecord record;
      for (EntryNumber n = 1; n <= other.header.Count(); ++n)
        EXPECT_TRUE(ReadEntry(other, record, other.header, n, file));
    }
  }
}

TEST_F(OpenCatalogTest, OpenFileAsksBeforeReplacingOrCreating) {
  const std::string existing = dir / "REPORT.TXT";
  TempDirectory::WriteFile(existing, "old");
  ui.answers = {Answer::Cancel};
  EXPECT_EQ(OpenFile(ui, store.files, existing, kWriteText, 0, true), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Replace contents of " + existing + "?");
  EXPECT_EQ(ui.messages[0].title, "Replace File?");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
  EXPECT_TRUE(ui.messages[0].defaultNo);
  EXPECT_EQ(TempDirectory::ReadFile(existing), "old");

  // Reading a missing file: after OK to the question the opening fails without another message.
  const std::string missing = dir / "MISSING.TXT";
  EXPECT_EQ(OpenFile(ui, store.files, missing, kReadOnly, 0, true), 0);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "The file " + missing + " does not exist. Do you want to create it?");
  EXPECT_EQ(ui.messages[1].title, "Create File?");
  EXPECT_EQ(ui.messages[1].icon, Icon::None);
}

TEST_F(OpenCatalogTest, FileNumbersAndErrors) {
  const int a = OpenFile(ui, store.files, dir / "A.BIN", kBinary, 0, false);
  const int b = OpenFile(ui, store.files, dir / "B.BIN", kBinary, 0, false);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_TRUE(store.files.Close(a));
  EXPECT_EQ(OpenFile(ui, store.files, dir / "C.BIN", kBinary, 0, false), 1);
  EXPECT_EQ(OpenFile(ui, store.files, dir / "A.BIN", static_cast<FileMode>(9), 0, false), 0);

  EXPECT_EQ(OpenFile(ui, store.files, dir / "NO/SUCH/DIR.BIN", kBinary, 0, false), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "That path doesn't exist.");
  EXPECT_EQ(ui.messages[0].title, "File Error");
  EXPECT_EQ(ReportFileError(ui, FileFailure::kReadPastEnd), 2);
  EXPECT_EQ(ui.messages[1].text,
            "This file has a nonstandard end-of-file marker,or an attempt was made to read beyond the end-of-file "
            "marker.");
  ui.answers = {Answer::Retry};
  EXPECT_EQ(ReportFileError(ui, FileFailure::kDeviceUnavailable), 0);
  EXPECT_EQ(ui.messages[2].buttons, Buttons::RetryCancel);
  EXPECT_EQ(ReportFileError(ui, FileFailure::kOther), 3);
  EXPECT_EQ(ui.messages.size(), 3u);
}

TEST(FileNames, NamePartAndExistence) {
  EXPECT_EQ(FileNamePart("/home/me/MUSIC"), "MUSIC");
  EXPECT_EQ(FileNamePart("MUSIC"), "MUSIC");
  EXPECT_EQ(FileNamePart("dir/"), "");
  TempDirectory dir;
  TempDirectory::WriteFile(dir / "music.dat", "x");
  EXPECT_TRUE(FileExists(dir / "MUSIC.DAT"));  // letter case of copied catalogs does not matter
  EXPECT_FALSE(FileExists(dir / "OTHER.DAT"));
  EXPECT_FALSE(FileExists(dir.path()));
}

}  // namespace
}  // namespace vrk
