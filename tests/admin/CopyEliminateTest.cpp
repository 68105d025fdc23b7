// Copy Entries through a field mapping, and Eliminate Deleted.
#include <gmock/gmock.h>

#include "AdminFixture.h"
#include "admin/CopyEntries.h"
#include "admin/EliminateDeleted.h"
#include "admin/Sort.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

using CopyEntriesTest = AdminTest;
using EliminateDeletedTest = AdminTest;

std::vector<TestEntry> Numbered(int count, const std::string& prefix) {
  std::vector<TestEntry> entries;
  for (int n = 1; n <= count; ++n) entries.push_back({{prefix + std::to_string(n), "t" + std::to_string(n)}});
  return entries;
}

ConfigureCopy Prepared(CatalogStore& store, const std::string& directory, const std::string& from,
                       const std::string& to) {
  ConfigureCopy copy{from, to};
  EXPECT_TRUE(PrepareConfigureCopy(store, directory, copy));
  return copy;
}

TEST_F(CopyEntriesTest, TheMappingSwapsTheRowThatHadTheSource) {
  WriteCatalog(dir.path(), "A", MakeLayout({{"One", 5}, {"Two", 5}, {"Three", 20}}), {});
  WriteCatalog(dir.path(), "B", MakeLayout({{"First", 10}, {"Second", 5}, {"Third", 5}}), {});
  ConfigureCopy copy = Prepared(program, dir.path(), "A", "B");
  ChooseCopySource(copy, 0, 2);
  EXPECT_EQ(copy.map[0], 2);
  EXPECT_EQ(copy.map[2], 0);
  EXPECT_EQ(copy.inverse[2], 0);
  EXPECT_EQ(copy.inverse[0], 2);
  EXPECT_TRUE(RowIsCut(copy, 0));   // Three (20) into First (10)
  EXPECT_FALSE(RowIsCut(copy, 2));  // One (5) into Third (5)
  ChooseCopySource(copy, 0, 2);     // already so: nothing happens
  EXPECT_EQ(copy.map[2], 0);
}

TEST_F(CopyEntriesTest, CopiesAreAppendedAsActiveEntriesCutPaddedAndFiledInTheKeyIndexes) {
  WriteCatalog(dir.path(), "SRC", MakeLayout({{"Name", 6}, {"Code", 4}}), Numbered(10, "src"));
  WriteCatalog(dir.path(), "DST", MakeLayout({{"Code", 2, kKeyField}, {"Name", 8, kKeyField}}), Numbered(5, "d"));
  {
    FakeUi otherUi;
    CatalogStore store(otherUi);
    ASSERT_NE(store.entryFile = OpenCatalog(store, dir.path(), "SRC", CatalogAccess::kChange), 0);
    EntryRecord third;
    ASSERT_TRUE(ReadEntry(store, third, store.header, 3, store.entryFile));
    third.Status = kStatusDeleted;
    third.MemoNumber = 4;
    ASSERT_TRUE(WriteEntry(store, third, store.header, 3, store.entryFile));
    ASSERT_TRUE(CloseCatalog(store, store.entryFile));
  }
  Use("DST");
  ConfigureCopy copy = Prepared(program, dir.path(), "SRC", "DST");
  ChooseCopySource(copy, 0, 1);  // Code into Code, Name into Name
  EXPECT_EQ(CopyEntries(program, dir.path(), copy), 10);
  EXPECT_EQ(CopiedText(10, copy), "10 entries were copied from SRC to DST.");
  EXPECT_EQ(program.header.Count(), 15);
  const CatalogOnDisk after = ReadCatalog(dir.path(), "DST");
  ASSERT_EQ(after.entries.size(), 15u);
  EXPECT_EQ(after.entries[5].Field[0], "t1");
  EXPECT_EQ(after.entries[5].Field[1], "src1    ");
  EXPECT_EQ(after.entries[14].Field[0], "t1");  // "t10" cut to two characters
  EXPECT_EQ(after.entries[7].Status, kStatusActive);
  EXPECT_EQ(after.entries[7].MemoNumber, 0);
  EXPECT_EQ(Walk(1, "DST").size(), 15u);
  EXPECT_EQ(Walk(0, "DST").size(), 15u);
}

TEST_F(CopyEntriesTest, ACatalogIntoItselfAndACancelledCopyThatLeavesTheDestinationAsItWas) {
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10, kKeyField}}), Numbered(200, "n"));
  Use("CAT");
  ConfigureCopy copy = Prepared(program, dir.path(), "CAT", "CAT");
  EXPECT_EQ(CopyEntries(program, dir.path(), copy), 200);
  EXPECT_EQ(program.header.Count(), 400);
  EXPECT_EQ(ReadCatalog(dir.path(), "CAT").entries[250].Field[0], ReadCatalog(dir.path(), "CAT").entries[50].Field[0]);
  ui.cancelAtDoEvents = ui.doEventsCalls + 20;
  EXPECT_EQ(CopyEntries(program, dir.path(), copy), -1);
  EXPECT_EQ(program.header.Count(), 400);
  EXPECT_EQ(ReadCatalog(dir.path(), "CAT").entries.size(), 400u);
  EXPECT_EQ(Walk(0, "CAT").size(), 400u);
  EXPECT_TRUE(ui.messages.empty());
}

// Copies into a sorted catalog join its chain at the end, in entry order, and the catalog stays sorted.
TEST_F(CopyEntriesTest, CopiesIntoASortedCatalogJoinTheEndOfItsChain) {
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10}}), {{{"c"}}, {{"a"}}, {{"b"}}});
  Use("CAT");
  ASSERT_TRUE(SortCatalog(program, {0}));
  ConfigureCopy copy = Prepared(program, dir.path(), "CAT", "CAT");
  EXPECT_EQ(CopyEntries(program, dir.path(), copy), 3);
  const CatalogOnDisk after = ReadCatalog(dir.path(), "CAT");
  std::vector<EntryNumber> chain;
  for (auto n = static_cast<EntryNumber>(program.settings.FirstSorted); n > 0 && chain.size() < 10;) {
    chain.push_back(n);
    const auto next = static_cast<EntryNumber>(after.entries[static_cast<std::size_t>(n - 1)].NextSorted);
    n = next == n ? 0 : next;
  }
  EXPECT_THAT(chain, ElementsAre(2, 3, 1, 4, 5, 6));
  EXPECT_EQ(program.settings.LastSorted, 6.0f);
  EXPECT_EQ(program.settings.SortedMark, 1.0f);
  EXPECT_EQ(after.entries[3].PrevSorted, 1.0f);
}

TEST_F(EliminateDeletedTest, EntriesTwoAndFourOfFiveGoTheOthersMoveDownAndTheCatalogIsUnsorted) {
  std::vector<TestEntry> entries = Numbered(5, "e");
  entries[1].status = entries[3].status = kStatusDeleted;
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10, kKeyField}, {"Code", 4}}), entries);
  Use("CAT");
  ASSERT_TRUE(SortCatalog(program, {1}));
  EXPECT_TRUE(ConfirmEliminateDeleted(ui));
  EXPECT_EQ(ui.texts().back(), "This operation will PERMANENTLY erase all\rrecords marked as deleted. Proceed?");
  EXPECT_TRUE(ui.messages.back().defaultNo);
  EXPECT_EQ(EliminateDeleted(program), 2);
  const CatalogOnDisk after = ReadCatalog(dir.path(), "CAT");
  ASSERT_EQ(after.entries.size(), 3u);
  EXPECT_THAT(Texts(after, 0), ElementsAre("e1        ", "e3        ", "e5        "));
  EXPECT_EQ(program.header.Count(), 3);
  EXPECT_EQ(program.settings.SortedMark, 0.0f);
  CatalogSettings settings;
  ReadSettings(program, "CAT", settings);
  EXPECT_EQ(settings.SortedMark, 0.0f);
  EXPECT_THAT(Walk(0, "CAT"), ElementsAre(1, 2, 3));
  EXPECT_FALSE(ui.gaugeCancelEnabled);
}

// The blank slots Reserve Space wrote stay reserved, as it wrote them, after the entries that are left.
TEST_F(EliminateDeletedTest, TheReservedSlotsStayBeyondTheEntriesLeft) {
  std::vector<TestEntry> entries = Numbered(3, "e");
  entries[1].status = kStatusDeleted;
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10, kKeyField}, {"Code", 4}}), entries);
  Use("CAT");
  ASSERT_TRUE(ReserveEntrySlots(program, 5));
  const std::string before = TempDirectory::ReadFile(dir / "CAT.DAT");
  const auto length = static_cast<std::size_t>(program.header.EntryLength);
  ASSERT_EQ(before.size(), 9 * length);
  EXPECT_EQ(EliminateDeleted(program), 1);
  const std::string after = TempDirectory::ReadFile(dir / "CAT.DAT");
  ASSERT_EQ(after.size(), 8 * length);
  EXPECT_EQ(after.substr(3 * length), before.substr(4 * length));
  EXPECT_THAT(Texts(ReadCatalog(dir.path(), "CAT"), 0), ElementsAre("e1        ", "e3        "));
}

TEST_F(EliminateDeletedTest, NothingDeletedChangesNothingAndAllDeletedLeavesNoEntry) {
  std::vector<TestEntry> entries = Numbered(3, "e");
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10, kKeyField}}), entries);
  Use("CAT");
  ASSERT_TRUE(SortCatalog(program, {0}));
  const std::string before = TempDirectory::ReadFile(dir / "CAT.DAT");
  EXPECT_EQ(EliminateDeleted(program), 0);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.DAT"), before);
  EXPECT_EQ(program.settings.SortedMark, 1.0f);
  ShutDown(program);
  for (TestEntry& entry : entries) entry.status = kStatusDeleted;
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Name", 10, kKeyField}}), entries);
  Use("CAT");
  EXPECT_EQ(EliminateDeleted(program), 3);
  EXPECT_EQ(ReadCatalog(dir.path(), "CAT").header.Count(), 0);
  EXPECT_TRUE(Walk(0, "CAT").empty());
}

}  // namespace
}  // namespace vrk::test
