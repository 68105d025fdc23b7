#include <gtest/gtest.h>

#include <random>

#include "catalog/Catalog.h"
#include "catalog/EntryBatches.h"
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

class EntryFileTest : public ::testing::Test {
 protected:
  EntryFileTest() { store.catalogDirectory = dir.path(); }

  void Create(const CatalogLayout& layout) {
    ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "CAT", layout));
    store.entryFile = OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange);
    ASSERT_NE(store.entryFile, 0);
  }
  EntryRecord Entry(std::initializer_list<std::string> texts, float status = kStatusActive) {
    EntryRecord record = BlankEntry(store.header);
    record.Status = status;
    int i = 0;
    for (const std::string& text : texts) {
      record.Field[static_cast<std::size_t>(i)] = text;
      record.Field[static_cast<std::size_t>(i)].resize(
          static_cast<std::size_t>(store.header.FieldLength[static_cast<std::size_t>(i)]), ' ');
      ++i;
    }
    return record;
  }
  std::string Slot(EntryNumber n) {
    EXPECT_TRUE(store.files.Get(store.entryFile)->Sync());
    return TempDirectory::ReadFile(dir / "CAT.DAT")
        .substr(static_cast<std::size_t>(store.header.EntryLength * n),
                static_cast<std::size_t>(store.header.EntryLength));
  }

  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
};

const std::string kActive("\x00\x00\x40\x83", 4);  // 6.0 in Microsoft Binary Format
const std::string kZero(4, '\0');

TEST_F(EntryFileTest, ShortEntryFillsFiftyFourBytes) {
  Create(MakeLayout({{"Name", 10}}));
  ASSERT_EQ(store.header.EntryLength, 54);
  EntryRecord record = Entry({"Abc"});
  record.MemoNumber = 1;
  ASSERT_TRUE(WriteEntry(store, record, store.header, 1, store.entryFile));
  const std::string expected =
      kActive + "Abc       " + kZero + kZero + std::string("\x00\x00\x00\x81", 4) + std::string(28, '\0');
  EXPECT_EQ(Slot(1), expected);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.DAT").size(), 108u);  // entry 1 starts at byte 54
}

TEST_F(EntryFileTest, FieldsSummingTo37EndWithOneZero) {
  Create(MakeLayout({{"A", 30}, {"B", 7}}));
  ASSERT_EQ(store.header.EntryLength, 54);
  ASSERT_TRUE(WriteEntry(store, Entry({"x", "y"}), store.header, 1, store.entryFile));
  const std::string expected = kActive + "x" + std::string(29, ' ') + "y      " + std::string(12, '\0') + '\0';
  EXPECT_EQ(Slot(1), expected);
}

TEST_F(EntryFileTest, LongEntriesSitAtEntryLengthTimesNumber) {
  Create(MakeLayout({{"A", 60}, {"B", 40}}));
  ASSERT_EQ(store.header.EntryLength, 117);
  ASSERT_TRUE(WriteEntry(store, Entry({"first", "1"}), store.header, 1, store.entryFile));
  ASSERT_TRUE(WriteEntry(store, Entry({"second", "2"}, kStatusDeleted), store.header, 2, store.entryFile));
  ASSERT_TRUE(store.files.Get(store.entryFile)->Sync());
  const std::string file = TempDirectory::ReadFile(dir / "CAT.DAT");
  ASSERT_EQ(file.size(), 351u);
  EXPECT_EQ(file.substr(234, 4), std::string("\x00\x00\x10\x84", 4));  // 9.0: deleted
  EXPECT_EQ(file.substr(238, 6), "second");
  EXPECT_EQ(file.back(), '\0');
}

TEST_F(EntryFileTest, UnusedFieldTakesNoBytes) {
  Create(MakeLayout({{"A", 5}, {"B", 0}, {"C", 5}}));
  ASSERT_TRUE(WriteEntry(store, Entry({"aaaaa", "", "ccccc"}), store.header, 1, store.entryFile));
  EXPECT_EQ(Slot(1).substr(4, 10), "aaaaaccccc");
  EntryRecord back;
  ASSERT_TRUE(ReadEntry(store, back, store.header, 1, store.entryFile));
  EXPECT_EQ(back.Field[2], "ccccc");
  EXPECT_EQ(back.Field[1], "");
}

TEST_F(EntryFileTest, CharactersAbove127GoThroughCodePage437) {
  Create(MakeLayout({{"A", 8}}));
  ASSERT_TRUE(WriteEntry(store, Entry({"Caf\xE9 \xF1"}), store.header, 1, store.entryFile));
  EXPECT_EQ(Slot(1).substr(4, 8), "Caf\x82 \xA4  ");
  EntryRecord back;
  ASSERT_TRUE(ReadEntry(store, back, store.header, 1, store.entryFile));
  EXPECT_EQ(back.Field[0], "Caf\xE9 \xF1  ");
  EXPECT_EQ(back.Status, kStatusActive);
}

TEST_F(EntryFileTest, TextLongerThanItsFieldIsCutNotSpilled) {
  Create(MakeLayout({{"A", 4}, {"B", 4}}));
  EntryRecord record = Entry({"", "keep"});
  record.Field[0] = "too long";
  ASSERT_TRUE(WriteEntry(store, record, store.header, 1, store.entryFile));
  EXPECT_EQ(Slot(1).substr(4, 8), "too keep");
}

TEST_F(EntryFileTest, EntryNumberZeroIsRefused) {
  Create(MakeLayout({{"A", 4}}));
  EntryRecord record;
  EXPECT_FALSE(ReadEntry(store, record, store.header, 0, store.entryFile));
  EXPECT_FALSE(WriteEntry(store, record, store.header, 0, store.entryFile));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Bad RecNum", "Bad RecNum"}));
}

TEST_F(EntryFileTest, SlotBeyondTheEndReadsBlank) {
  Create(MakeLayout({{"A", 4}}));
  EntryRecord record;
  ASSERT_TRUE(ReadEntry(store, record, store.header, 5, store.entryFile));
  EXPECT_EQ(record.Status, 0.0f);
  EXPECT_EQ(record.Field[0], "    ");
}

// Walks in random orders, runs of neighbours and jumps, entries named twice and slots beyond the end
// of the file: the batches hand back what ReadEntry reads, in walk order, then the source's end.
TEST_F(EntryFileTest, BatchesHandBackWhatReadEntryReadsInWalkOrder) {
  Create(MakeLayout({{"A", 7}, {"B", 200}}));
  std::mt19937 random(5);
  constexpr EntryNumber kWritten = 4000;
  for (EntryNumber n = 1; n <= kWritten; ++n) {
    const EntryRecord record = Entry({std::to_string(random()), std::string(random() % 200, 'x')});
    ASSERT_TRUE(WriteEntry(store, record, store.header, n, store.entryFile));
  }
  for (int walk = 0; walk < 6; ++walk) {
    SCOPED_TRACE(walk);
    std::vector<EntryNumber> order;
    for (EntryNumber n = 1; order.size() < 9000;) {
      n = random() % 4 == 0 ? static_cast<EntryNumber>(random() % (kWritten + 30)) + 1
                            : std::min<EntryNumber>(n + static_cast<EntryNumber>(random() % 3), kWritten + 30);
      order.push_back(n);
    }
    const bool fails = walk % 2 == 1;  // the source fails after its last number
    std::size_t given = 0;
    EntryBatches batches(store, [&]() -> EntryNumber {
      if (given == order.size()) return fails ? -1 : 0;
      return order[given++];
    });
    EntryRecord got, expected;
    for (const EntryNumber n : order) {
      ASSERT_EQ(batches.Next(got), n);
      ASSERT_TRUE(ReadEntry(store, expected, store.header, n, store.entryFile));
      ASSERT_EQ(got.Field, expected.Field);
      ASSERT_EQ(got.Status, expected.Status);
    }
    EXPECT_EQ(batches.Next(got), fails ? -1 : 0);
  }
}

}  // namespace
}  // namespace vrk
