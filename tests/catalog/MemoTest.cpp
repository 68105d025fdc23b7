#include "catalog/Memo.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "platform/FileSystem.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::MakeLayout;
using test::TempDirectory;

class MemoTest : public ::testing::Test {
 protected:
  MemoTest() { Open(); }

  void Open() {
    store = std::make_unique<CatalogStore>(ui, files);
    if (!FileExists(dir / "CAT.DAT")) {
      test::MakeCurrentCatalog(*store, dir.path(), "CAT", MakeLayout({{"Title", 10}}),
                               {{{"One"}}, {{"Two"}}, {{"Three"}}});
      return;
    }
    store->catalogDirectory = dir.path();
    store->catalogName = "CAT";
    store->entryFile = OpenCatalog(*store, dir.path(), "CAT", CatalogAccess::kChange);
    ASSERT_NE(store->entryFile, 0);
  }
  EntryRecord Entry(EntryNumber n) {
    EntryRecord record;
    EXPECT_TRUE(ReadEntry(*store, record, store->header, n, store->entryFile));
    return record;
  }
  // Gives entry n the memo `text` as the memo editor's OK does; returns its number.
  float Save(EntryNumber n, const std::string& text) {
    EntryRecord record = Entry(n);
    EXPECT_TRUE(SaveMemo(*store, record, n, text));
    EXPECT_EQ(Entry(n).MemoNumber, record.MemoNumber);
    return record.MemoNumber;
  }
  std::string MemoFile() { return TempDirectory::ReadFile(dir / "CAT.MEM"); }

  TempDirectory dir;
  test::FakeFileSystem files;
  FakeUi ui;
  std::unique_ptr<CatalogStore> store;
};

TEST_F(MemoTest, RecordsAreAppendedBlankPaddedAndReusedOnlyInPlace) {
  EXPECT_FALSE(FileExists(dir / "CAT.MEM"));
  EXPECT_EQ(ReadMemo(*store, 1), "");
  EXPECT_EQ(Save(1, "First"), 1);
  EXPECT_EQ(Save(2, "Second \xE9"), 2);  // code page 1252 as it is: no conversion
  EXPECT_EQ(Save(1, "First again"), 1);
  EXPECT_EQ(MemoFile(), "First again" + std::string(1409, ' ') + "Second \xE9" + std::string(1412, ' '));
  EXPECT_EQ(ReadMemo(*store, 0), "");
  EXPECT_EQ(ReadMemo(*store, 3), "");  // beyond the file's end
}

TEST_F(MemoTest, TextIsCutToItsRecordAndReadWithoutTrailingBlanks) {
  const std::string whole(kMemoLength - 1, 'x');
  Save(1, whole + "yz");
  EXPECT_EQ(ReadMemo(*store, 1), whole + "y");
  Save(2, "ends in blanks   ");
  EXPECT_EQ(ReadMemo(*store, 2), "ends in blanks");
  EXPECT_EQ(MemoFile().size(), 2 * kMemoLength);
}

TEST_F(MemoTest, RemovingBlanksTheRecordAndTheNextMemoTakesANewOne) {
  Save(1, "one");
  Save(2, "two");
  Save(3, "three");
  EntryRecord second = Entry(2);
  ASSERT_TRUE(RemoveMemo(*store, second, 2));
  EXPECT_EQ(second.MemoNumber, 0);
  EXPECT_EQ(Entry(2).MemoNumber, 0);
  EXPECT_EQ(MemoFile().substr(kMemoLength, kMemoLength), std::string(kMemoLength, ' '));
  EXPECT_EQ(ReadMemo(*store, 1), "one");
  EXPECT_EQ(ReadMemo(*store, 3), "three");
  EXPECT_EQ(Save(2, "again"), 4);
}

TEST_F(MemoTest, AnEntryBeingMadeKeepsItsNumberForItsSave) {
  EntryRecord fresh = BlankEntry(store->header);
  ASSERT_TRUE(SaveMemo(*store, fresh, 4, "new"));
  EXPECT_EQ(fresh.MemoNumber, 1);
  EXPECT_EQ(store->header.Count(), 3);
  EXPECT_EQ(ReadMemo(*store, 1), "new");
}

// Numbers a damaged entry may hold. A fraction, NaN, or one beyond the file's records names no memo:
// reading and saving say so and nothing is written at it, while Remove Memo lets go of it. Below 1 is
// no memo, and one past the last record is the next one.
TEST_F(MemoTest, ANumberNamingNoRecordIsRefusedAndNothingIsWrittenAtIt) {
  Save(1, "one");
  const std::string memos = MemoFile();
  for (const float number : {1e9f, 1e30f, std::nanf(""), 2.5f, 3.0f}) {
    ui.messages.clear();
    EntryRecord record = Entry(2);
    record.MemoNumber = number;
    EXPECT_EQ(ReadMemo(*store, number), "");
    EXPECT_FALSE(SaveMemo(*store, record, 2, "two"));
    EXPECT_EQ(ui.messages.size(), 2u) << number;
    EXPECT_EQ(MemoFile(), memos) << number;
    ASSERT_TRUE(RemoveMemo(*store, record, 2));
    EXPECT_EQ(Entry(2).MemoNumber, 0) << number;
    EXPECT_EQ(MemoFile(), memos) << number;
  }
  EXPECT_NE(ui.texts().at(0).find("(3) names no memo of"), std::string::npos) << ui.texts().at(0);
  for (const float number : {0.0f, -1.0f, 2.0f}) {
    TempDirectory::WriteFile(dir / "CAT.MEM", memos);
    EntryRecord record = Entry(2);
    record.MemoNumber = number;
    ASSERT_TRUE(SaveMemo(*store, record, 2, "two")) << number;
    EXPECT_EQ(Entry(2).MemoNumber, 2) << number;
    EXPECT_EQ(MemoFile(), memos + "two" + std::string(kMemoLength - 3, ' ')) << number;
  }
}

// Every write of a new memo, an edit and a removal, stopped there as if the program had been killed
// or refused by the disk: the entries keep their texts, and each names either its memo as it was or
// the new one, never a blank or half-written record.
TEST_F(MemoTest, AWriteStoppedOrRefusedLosesNothingSaved) {
  Save(2, "kept");
  Save(3, "to go");
  const std::string before = TempDirectory::ReadFile(dir / "CAT.DAT");
  const std::string memos = MemoFile();
  const auto change = [&](EntryNumber n, const std::function<bool(EntryRecord&)>& op) {
    EntryRecord record = Entry(n);
    (void)op(record);
  };
  const std::vector<std::function<void()>> steps = {
      [&] { change(1, [&](EntryRecord& r) { return SaveMemo(*store, r, 1, "added"); }); },
      [&] { change(2, [&](EntryRecord& r) { return SaveMemo(*store, r, 2, "edited"); }); },
      [&] { change(3, [&](EntryRecord& r) { return RemoveMemo(*store, r, 3); }); },
  };
  const std::vector<std::vector<std::string>> allowed = {{"", "added"}, {"kept", "edited"}, {"to go", ""}};
  for (std::size_t step = 0; step < steps.size(); ++step) {
    files.SetWriteFault(test::FaultKind::kNone);
    steps[step]();
    const long writes = files.ChangesSoFar();
    ASSERT_GT(writes, 0);
    for (const auto kind : {test::FaultKind::kStop, test::FaultKind::kFail}) {
      for (long at = 1; at <= writes; ++at) {
        store.reset();
        TempDirectory::WriteFile(dir / "CAT.DAT", before);
        TempDirectory::WriteFile(dir / "CAT.MEM", memos);
        Open();
        files.SetWriteFault(kind, at);
        steps[step]();
        files.SetWriteFault(test::FaultKind::kNone);
        store.reset();  // killed: nothing more reaches the disk
        Open();
        const std::string when = "step " + std::to_string(step) + ", write " + std::to_string(at);
        for (EntryNumber n = 1; n <= 3; ++n) {
          const EntryRecord entry = Entry(n);
          EXPECT_EQ(RightTrim(entry.Field[0]), (std::vector<std::string>{"One", "Two", "Three"})[n - 1]) << when;
          const std::string memo = ReadMemo(*store, entry.MemoNumber);
          const auto& ok =
              n == static_cast<EntryNumber>(step + 1) ? allowed[step] : std::vector<std::string>{allowed[n - 1][0]};
          EXPECT_NE(std::find(ok.begin(), ok.end(), memo), ok.end()) << when << ", entry " << n << ": " << memo;
          EXPECT_EQ(entry.MemoNumber >= 1, !memo.empty()) << when << ", entry " << n;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vrk
