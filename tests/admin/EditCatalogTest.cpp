// Edit Catalog: a new layout for a catalog, its entries rebuilt when field lengths change.
#include <gmock/gmock.h>

#include <filesystem>

#include "AdminFixture.h"
#include "admin/EditCatalog.h"
#include "admin/Sort.h"
#include "catalog/FileIo.h"
#include "catalog/Layout.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

using EditCatalogTest = AdminTest;

TEST_F(EditCatalogTest, ARebuildCutsAndPadsAndKeepsStatusChainMemoAndSettings) {
  WriteCatalog(dir.path(), "MUSIC", MakeLayout({{"Title", 30, kKeyField}, {"Year", 4}, {"Notes", 6}}),
               {{{"A very long title of thirty", "1999", "ab\xE9"}}, {{"Short", "2001"}, kStatusDeleted}});
  Use("MUSIC");
  // A chain, a memo number and a sorted mark, as a sort and a memo would leave them.
  ASSERT_TRUE(SortCatalog(program, {0}));
  EntryRecord second;
  ASSERT_TRUE(ReadEntry(program, second, program.header, 2, program.entryFile));
  second.MemoNumber = 7;
  ASSERT_TRUE(WriteEntry(program, second, program.header, 2, program.entryFile));
  // The stored byte 0xB0 (a shade block) has no character of its own in code page 1252.
  const std::string stored = "\xB0";
  ASSERT_TRUE(WriteBlock(program, program.entryFile, program.header.EntryLength * 2 + 4 + 5, stored));

  CatalogLayout layout = LayoutOf(program);
  layout.lengths = {10, 8, 0, 5};
  layout.fields[3] = {PadFieldName("Label"), kKeyField};
  ASSERT_TRUE(ChangeLayout(program, layout));
  EXPECT_THAT(ui.texts(), ElementsAre("Field lengths were changed. About to rebuild catalog."));
  EXPECT_EQ(program.header.EntryLength, 54);

  const CatalogOnDisk after = ReadCatalog(dir.path(), "MUSIC");
  ASSERT_EQ(after.entries.size(), 2u);
  EXPECT_EQ(after.header.FieldLength[0], 10);
  EXPECT_EQ(after.entries[0].Field[0], "A very lon");
  EXPECT_EQ(after.entries[1].Field[0].substr(0, 5), "Short");
  EXPECT_THAT(Texts(after, 1), ElementsAre("1999    ", "2001    "));
  EXPECT_THAT(Texts(after, 2), ElementsAre("", ""));
  EXPECT_THAT(Texts(after, 3), ElementsAre("     ", "     "));
  EXPECT_EQ(after.entries[1].Status, kStatusDeleted);
  EXPECT_EQ(after.entries[1].MemoNumber, 7);
  EXPECT_EQ(after.entries[0].NextSorted, 2);  // "A very…" before "Short"
  EXPECT_EQ(after.entries[1].PrevSorted, 1);
  EXPECT_EQ(after.fields[3].Name, PadFieldName("Label"));
  EXPECT_EQ(program.settings.SortedMark, 1.0f);
  CatalogSettings settings;
  ReadSettings(program, "MUSIC", settings);
  EXPECT_EQ(settings.SortedMark, 1.0f);
  // The stored byte is carried over as it was.
  char byte = 0;
  ASSERT_EQ(ReadBlock(program, program.entryFile, 54 * 2 + 4 + 5, &byte, 1), 1);
  EXPECT_EQ(byte, '\xB0');
  // The indexes follow the new layout: the cut titles, the new key field, no index of the old Notes.
  EXPECT_THAT(Walk(0, "MUSIC"), ElementsAre(1, 2));
  EXPECT_THAT(Walk(3, "MUSIC"), ElementsAre(1, 2));
  EXPECT_FALSE(fs::exists(dir / "MUSIC.DA$"));
  EXPECT_FALSE(fs::exists(dir / "MUSIC.SE$"));
}

TEST_F(EditCatalogTest, NamesAndFormulasAloneRewriteTheSetupButNotTheEntries) {
  WriteCatalog(dir.path(), "MUSIC", MakeLayout({{"Price", 8}, {"Qty", 3}, {"Value", 10}}), {{{"2.5", "4"}}});
  Use("MUSIC");
  const auto entries = TempDirectory::ReadFile(dir / "MUSIC.DAT");
  CatalogLayout layout = LayoutOf(program);
  layout.fields[0].Name = PadFieldName("Cost");
  layout.formulas[2] = ParseFormula("A*B");
  ASSERT_TRUE(ChangeLayout(program, layout));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(TempDirectory::ReadFile(dir / "MUSIC.DAT"), entries);
  const CatalogOnDisk after = ReadCatalog(dir.path(), "MUSIC");
  EXPECT_EQ(after.fields[0].Name, PadFieldName("Cost"));
  EXPECT_EQ(FormulaText(after.formulas[2]), "A*B");
  EXPECT_EQ(fs::file_size(dir / "MUSIC.SET"), static_cast<std::uintmax_t>(kSetupFileLength));
}

TEST_F(EditCatalogTest, ASetupFileLeftStagedAfterTheNewEntriesTookEffectIsTheCatalogsOwn) {
  WriteCatalog(dir.path(), "MUSIC", MakeLayout({{"Title", 10}}), {{{"One"}}});
  fs::copy(dir / "MUSIC.SET", dir / "MUSIC.SE$");
  {
    FakeUi otherUi;
    CatalogStore other(otherUi);
    ASSERT_TRUE(ReadSetup(other, dir.path(), "MUSIC", other.fieldTable, other.header));
    CatalogLayout layout = LayoutOf(other);
    layout.fields[0].Name = PadFieldName("Name");
    ASSERT_TRUE(CreateCatalog(other, dir / "MUSIC.SE$", layout.fields, other.header));
    fs::remove(dir / "MUSIC.SE$.DAT");
    fs::rename(dir / "MUSIC.SE$.SET", dir / "MUSIC.SE$");
  }
  // Read as the catalog's before anything opens it for a change, then moved into place.
  EXPECT_EQ(ReadCatalog(dir.path(), "MUSIC").fields[0].Name, PadFieldName("Name"));
  Use("MUSIC");
  EXPECT_FALSE(fs::exists(dir / "MUSIC.SE$"));
  EXPECT_EQ(program.fieldTable[0].Name, PadFieldName("Name"));
  // Beside a staged entry file it is a change that never took effect, and goes.
  ShutDown(program);
  TempDirectory::WriteFile(dir / "MUSIC.DA$", "");
  TempDirectory::WriteFile(dir / "MUSIC.SE$", "junk");
  EXPECT_EQ(ReadCatalog(dir.path(), "MUSIC").fields[0].Name, PadFieldName("Name"));
  Use("MUSIC");
  EXPECT_FALSE(fs::exists(dir / "MUSIC.SE$"));
  EXPECT_FALSE(fs::exists(dir / "MUSIC.DA$"));
}

}  // namespace
}  // namespace vrk::test
