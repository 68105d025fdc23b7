#include <gtest/gtest.h>
#include "shell/Utilities.h"

#include <filesystem>

#include "catalog/EntryFile.h"
#include "fakes/ProgramFixture.h"
#include "index/Rebuild.h"

namespace vrk {
namespace {

using test::MakeLayout;
using test::TempDirectory;

TEST(IndexFileName, PadsOrCutsTheCatalogName) {
  EXPECT_EQ(IndexFileName(0, "MUSIC"), "MUSICX00.WDX");
  EXPECT_EQ(IndexFileName(3, "MUSIC"), "MUSICX03.WDX");
  EXPECT_EQ(IndexFileName(0, "AB"), "ABXXXX00.WDX");
  EXPECT_EQ(IndexFileName(20, "COLLECTS"), "COLLEC20.WDX");
}

TEST(KeyText, CutTrimmedOrPadded) {
  CatalogHeader header;
  header.FieldLength[0] = 30;
  EntryRecord record;
  record.Field[0] = "abcdefghijklmnopqrstuvwx yz   ";
  EXPECT_EQ(KeyText(record, 0), "abcdefghijklmnopqrstuvwx");
  record.Field[0] = "Short                         ";
  EXPECT_EQ(KeyText(record, 0), "Short");
  EXPECT_EQ(PaddedKeyText(record, header, 0), "Short                   ");
  record.Field[0] = std::string(30, ' ');
  EXPECT_EQ(KeyText(record, 0), "");
}

class RebuildTest : public test::ProgramFixture {
 protected:
  void OpenTitles(std::initializer_list<std::string> titles) {
    Open(MakeLayout({{"Title", 30, kKeyField}, {"Year", 4}, {"Shelf", 6, kKeyField}}));
    for (const std::string& title : titles) Add({title});
  }
  bool IndexExists(int field) { return std::filesystem::exists(dir / IndexFileName(field, "CAT")); }
  void RemoveIndexes() {
    std::filesystem::remove(dir / IndexFileName(0, "CAT"));
    std::filesystem::remove(dir / IndexFileName(2, "CAT"));
  }
};

TEST_F(RebuildTest, ReIndexRefilesEveryEntryDeletedOnesToo) {
  OpenTitles({"Zebra", "apple", "Mango"});
  Show(2);
  DeleteEntry(program);
  RemoveIndexes();
  ReIndexCommand(program);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{2, 3, 1}));
  EXPECT_EQ(Walk(2).size(), 3u);
  EXPECT_EQ(program.listKind, kMakeEntries);  // the screen was erased first
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RebuildTest, ReIndexWithoutKeyFieldsDoesNothing) {
  Open(MakeLayout({{"Title", 10}}));
  Add({"x"});
  ReIndexCommand(program);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.doEventsCalls, 100);  // only the saving of the entry let events run
  for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(file.path().extension(), ".WDX");
  }
}

TEST_F(RebuildTest, ReIndexOfAnEmptyCatalogLeavesEmptyIndexes) {
  OpenTitles({});
  ReIndexCommand(program);
  EXPECT_TRUE(IndexExists(0));
  EXPECT_TRUE(IndexExists(2));
  EXPECT_TRUE(Walk(0).empty());
}

TEST_F(RebuildTest, CancelledReIndexDeletesTheIndexFiles) {
  OpenTitles({});
  files.syncing = false;  // the saves need not reach the disk
  for (int i = 0; i < 300; ++i) Add({"Title " + std::to_string(i)});
  ui.cancelAtDoEvents = ui.doEventsCalls + 2;  // the gauge's opening, then its first step multiple
  ReIndexCommand(program);
  EXPECT_FALSE(IndexExists(0));
  EXPECT_FALSE(IndexExists(2));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Indexing aborted. Index files have been deleted."}));
  EXPECT_EQ(ui.gaugeMessage, "Building Indexes....");
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(RebuildTest, FileOrderBuildKeepsEqualKeysInEntryOrder) {
  OpenTitles({"Same", "Other", "Same", "same"});
  ASSERT_TRUE(BuildIndexInFileOrder(program, 0));
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{2, 1, 3, 4}));
  // Keys filed with their padding can still be deleted by everyday upkeep.
  Show(3);
  DeleteEntry(program);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{2, 1, 4}));
}

TEST_F(RebuildTest, IndexOrderBuildFollowsTheSourceForEqualKeys) {
  Open(MakeLayout({{"Artist", 10, kKeyField}, {"Title", 10, kKeyField}}));
  Add({"B", "x"});
  Add({"A", "y"});
  Add({"B", "a"});
  Add({"A", "x"});
  ASSERT_TRUE(BuildIndexInFileOrder(program, 1));  // by title: 3, 1, 4, 2
  ASSERT_TRUE(BuildIndexInIndexOrder(program, 0, 1));
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{4, 2, 3, 1}));  // by artist, then title
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RebuildTest, CancelOnTheLastEntryStillAbortsASingleBuild) {
  OpenTitles({});
  for (int i = 0; i < 200; ++i) Add({"T"});
  // 200 entries: step 2, events at every second entry; the last one falls on entry 200.
  ui.cancelAtDoEvents = ui.doEventsCalls + 101;
  EXPECT_FALSE(BuildIndexInFileOrder(program, 0));
  EXPECT_FALSE(IndexExists(0));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Sorting aborted. Title index has been deleted."}));
  EXPECT_EQ(ui.gaugeMessage, "Building Title Index....");
}

TEST_F(RebuildTest, WalksReportEmptyAndMissingIndexes) {
  OpenTitles({});
  const short handle = OpenIndex(program, 0, "CAT", lib::kNdxOpen);
  ASSERT_NE(handle, kNoIndex);
  EXPECT_EQ(FirstInIndex(program, handle), -1);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Error Getting Key"}));
  EXPECT_EQ(NextInIndex(program, handle), 0);
  EXPECT_EQ(SeekInIndex(program, handle, "anything   "), 0);
  EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);
}

TEST_F(RebuildTest, SeekPositionsAtTheFirstKeyNotBelowTheText) {
  OpenTitles({"Lorenz", "lo", "Apple", "LOW"});
  const short handle = OpenIndex(program, 0, "CAT", lib::kNdxOpen);
  // Letter case does not count: lo, Lorenz, LOW.
  EXPECT_EQ(SeekInIndex(program, handle, "Lo  "), 2);
  EXPECT_EQ(NextInIndex(program, handle), 1);
  EXPECT_EQ(NextInIndex(program, handle), 4);
  EXPECT_EQ(NextInIndex(program, handle), 0);
  EXPECT_EQ(PreviousInIndex(program, handle), 1);  // the end leaves the position on the last key
  EXPECT_EQ(SeekInIndex(program, handle, "zz"), 0);
  EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);
}

}  // namespace
}  // namespace vrk
