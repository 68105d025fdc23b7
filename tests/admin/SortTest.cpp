// Sort: level indexes built one on the other, and the chain through the entries.
#include <gmock/gmock.h>

#include <algorithm>
#include <random>

#include "AdminFixture.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "support/IndexHeld.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

using SortTest = AdminTest;

// The entry numbers along the chain from FirstSorted, as a sorted sequential search follows it.
std::vector<EntryNumber> Chain(const CatalogOnDisk& catalog, EntryNumber first) {
  std::vector<EntryNumber> order;
  for (EntryNumber n = first; n > 0 && order.size() <= catalog.entries.size();) {
    order.push_back(n);
    const EntryNumber next = static_cast<EntryNumber>(catalog.entries[static_cast<std::size_t>(n - 1)].NextSorted);
    n = next == n ? 0 : next;
  }
  return order;
}

const CatalogLayout kRecords = MakeLayout({{"Artist", 10}, {"Year", 4, kKeyField}, {"Title", 30}});

TEST_F(SortTest, TwoLevelsOrderByTheFirstThenTheSecondAndEqualEntriesStayInEntryOrder) {
  WriteCatalog(dir.path(), "CAT", kRecords,
               {{{"Beta", "1990", "x"}},
                {{"alpha", "1995", "x"}},
                {{"Beta", "1980", "x"}, kStatusDeleted},
                {{"Alpha", "1995", "x"}},
                {{"Beta", "1980", "x"}}});
  Use("CAT");
  ASSERT_TRUE(SortCatalog(program, {0, 1}));
  const CatalogOnDisk sorted = ReadCatalog(dir.path(), "CAT");
  EXPECT_THAT(Chain(sorted, static_cast<EntryNumber>(program.settings.FirstSorted)), ElementsAre(2, 4, 3, 5, 1));
  EXPECT_EQ(program.settings.FirstSorted, 2);
  EXPECT_EQ(program.settings.LastSorted, 1);
  EXPECT_EQ(sorted.entries[1].PrevSorted, 2);  // the first names itself
  EXPECT_EQ(sorted.entries[0].NextSorted, 1);  // and so does the last
  EXPECT_EQ(sorted.entries[4].PrevSorted, 3);
  CatalogSettings settings;
  ReadSettings(program, "CAT", settings);
  EXPECT_EQ(settings.SortedMark, 1.0f);
  EXPECT_TRUE(ui.messages.empty());
  // The fields are never rewritten; the key field's index is the sort's, with every entry.
  EXPECT_EQ(sorted.entries[2].Status, kStatusDeleted);
  EXPECT_THAT(Walk(1, "CAT"), ElementsAre(3, 5, 1, 2, 4));
}

// Random entries with many equal keys, in runs short enough to be spilled and merged: the chain is the
// entries in the order of the three levels' keys (upper case, trailing blanks ignored), equal ones
// in entry order.
TEST_F(SortTest, ThreeLevelsOrderAsAStableSortOfTheirKeys) {
  program.indexes.tuning.runLength = 64;
  std::mt19937 random(3);
  const auto word = [&] {
    static const char* const kWords[] = {"a", "B", "ab", "Ab ", "b a", "", "ba", "A"};
    return std::string(kWords[random() % 8]);
  };
  std::vector<TestEntry> made;
  for (int i = 0; i < 700; ++i) made.push_back({{word(), word(), word()}, i % 9 == 0 ? kStatusDeleted : kStatusActive});
  WriteCatalog(dir.path(), "CAT", kRecords, made);
  Use("CAT");
  ASSERT_TRUE(SortCatalog(program, {2, 0, 1}));
  const auto key = [&](EntryNumber n, int field) {
    std::string text = RightTrim(made[static_cast<std::size_t>(n - 1)].texts[static_cast<std::size_t>(field)]);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  std::vector<EntryNumber> expected(made.size());
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<EntryNumber>(i + 1);
  std::stable_sort(expected.begin(), expected.end(), [&](EntryNumber a, EntryNumber b) {
    for (const int field : {2, 0, 1}) {
      if (key(a, field) != key(b, field)) return key(a, field) < key(b, field);
    }
    return false;
  });
  EXPECT_EQ(Chain(ReadCatalog(dir.path(), "CAT"), static_cast<EntryNumber>(program.settings.FirstSorted)), expected);
}

TEST_F(SortTest, ACancelledChainingMarksTheCatalogUnsortedAndSaysSo) {
  std::vector<TestEntry> entries;
  for (int n = 0; n < 400; ++n) entries.push_back({{std::to_string(n % 7), "2000"}});
  WriteCatalog(dir.path(), "CAT", kRecords, entries);
  Use("CAT");
  const int before = ui.doEventsCalls;
  ASSERT_TRUE(SortCatalog(program, {0}));
  // An index build and the chaining each let events run as often; Cancel is pressed once both level
  // indexes have been built, while the chain is walked.
  const int each = (ui.doEventsCalls - before) / 2;
  ui.cancelAtDoEvents = ui.doEventsCalls + 2 * each + 3;
  EXPECT_FALSE(SortCatalog(program, {0, 1}));
  EXPECT_EQ(ui.texts().back(), "Sorting aborted. Catalog marked as UNSORTED.");
  EXPECT_EQ(ui.gaugeMessage, "SORTING....");
  CatalogSettings settings;
  ReadSettings(program, "CAT", settings);
  EXPECT_EQ(settings.SortedMark, 0.0f);
}

TEST_F(SortTest, TheSetupWindowsChecksAndACatalogWithoutEntries) {
  WriteCatalog(dir.path(), "CAT",
               MakeLayout({{"A", 1},
                           {"B", 1},
                           {"C", 1},
                           {"D", 1},
                           {"E", 1},
                           {"F", 1},
                           {"G", 1},
                           {"H", 1},
                           {"I", 1},
                           {"J", 1},
                           {"K", 0}}),
               {});
  Use("CAT");
  program.settings.SortedMark = 1;
  SortSetup setup(program);
  EXPECT_EQ(setup.offered.size(), 10u);
  EXPECT_FALSE(AcceptSortPattern(setup));
  EXPECT_TRUE(AddSortLevel(setup, 0));
  EXPECT_FALSE(AddSortLevel(setup, 0));
  for (short field = 1; field < 9; ++field) EXPECT_TRUE(AddSortLevel(setup, field));
  EXPECT_FALSE(AddSortLevel(setup, 9));
  EXPECT_THAT(ui.events,
              ElementsAre("message: No sort pattern specified.", "message: Key already in use. Select another.", "beep",
                          "message: Only 9 sorting levels allowed."));
  EXPECT_EQ(setup.levels.size(), 9u);
  EXPECT_TRUE(AcceptSortPattern(setup));
  // Removing the last level marks the catalog unsorted; a catalog without entries stays so, silently.
  while (!setup.levels.empty()) RemoveSortLevel(setup);
  EXPECT_EQ(program.settings.SortedMark, 0.0f);
  ui.events.clear();
  EXPECT_FALSE(SortCatalog(program, {0}));
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(program.settings.SortedMark, 0.0f);
}

}  // namespace
}  // namespace vrk::test
