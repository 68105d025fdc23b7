#include "search/Replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "fakes/Catalogs.h"
#include "fakes/ProgramFixture.h"
#include "index/Rebuild.h"
#include "platform/FileSystem.h"
#include "shell/Replacing.h"

namespace vrk::test {
namespace {

// Artist (key, 12), an unused field, Title (10), Format (4), and the picture and sound paths.
class ReplaceTest : public ProgramFixture {
 protected:
  void SetUp() override {
    CatalogLayout layout = MakeLayout({{"Artist", 12, kKeyField}, {"Unused", 0}, {"Title", 10}, {"Format", 4}});
    layout.lengths[kMediaField] = 20;
    Open(layout);
  }
  std::string Field(EntryNumber n, int field) {
    EntryRecord record;
    EXPECT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
    return RightTrim(record.Field[static_cast<std::size_t>(field)]);
  }
  ReplaceResult Replace(const std::string& search, const std::string& replacement, int field, bool global,
                        EntryNumber from = 1, bool caseSensitive = false) {
    return RunReplace(program, search, {replacement, static_cast<short>(field), global, from}, caseSensitive);
  }
};

TEST_F(ReplaceTest, FieldReplaceChangesTheChosenFieldOfEveryEntryFromTheStartDeletedOnesIncluded) {
  Add({"Abba", "", "Lp one", "Lp"});
  Add({"Beatles", "", "Lp two", "Lp"});
  Add({"Cream", "", "Lp three", "Lp"});
  Show(3);
  ASSERT_TRUE(DeleteEntry(program));
  const ReplaceResult result = Replace("lp", "LP", 3, false, 2);
  EXPECT_EQ(result.changed, 2);
  EXPECT_TRUE(result.stored);
  EXPECT_EQ(Field(1, 3), "Lp");  // before the starting record
  EXPECT_EQ(Field(2, 3), "LP");
  EXPECT_EQ(Field(3, 3), "LP");
  // Field 3 (Title) follows the unused field 2: it is not the one changed.
  EXPECT_EQ(Field(2, 2), "Lp two");
}

TEST_F(ReplaceTest, GlobalReplaceChangesEveryFieldField21IncludedAndCutsAtTheFieldLength) {
  Add({"Abba", "", "abc", "ABC"});
  Show(1);
  program.currentEntry.Field[kMediaField] = "C:\\abc.bmp";
  program.currentEntry.Field[kMediaField].resize(20, ' ');
  ASSERT_TRUE(WriteEntry(program, program.currentEntry, program.header, 1, program.entryFile));
  EXPECT_EQ(Replace("ABC", "wxyz-long", 0, true).changed, 3);
  EXPECT_EQ(Field(1, 2), "wxyz-long");
  EXPECT_EQ(Field(1, 3), "wxyz");  // cut at the field's four characters
  EXPECT_EQ(Field(1, kMediaField), "C:\\wxyz-long.bmp");
}

TEST_F(ReplaceTest, CaseMustAgreeOnlyWhenCaseSensitive) {
  Add({"Abba", "", "abc"});
  EXPECT_EQ(Replace("ABC", "x", 2, false, 1, true).changed, 0);
  EXPECT_EQ(Field(1, 2), "abc");
  EXPECT_EQ(Replace("ABC", "x", 2, false, 1, false).changed, 1);
  EXPECT_EQ(Field(1, 2), "x");
}

TEST_F(ReplaceTest, ATrailingBlankNeverMatchesAtTheEndOfTheContent) {
  Add({"Abba", "", "one two"});
  EXPECT_EQ(Replace("two ", "2", 2, false).changed, 0);
  EXPECT_EQ(Replace("one ", "1 ", 2, false).changed, 1);
  EXPECT_EQ(Field(1, 2), "1 two");
}

TEST_F(ReplaceTest, NothingFoundBeepsAndSaysSoAndOnlyChangedEntriesAreWritten) {
  Add({"Abba", "", "one"});
  Add({"Cream", "", "two"});
  EXPECT_EQ(Replace("zzz", "y", 0, true).changed, 0);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "message: No Matches Found"}));
  files.SetWriteFault(test::FaultKind::kNone);
  EXPECT_EQ(Replace("zzz", "y", 2, false).changed, 0);
  const long none = files.ChangesSoFar();
  files.SetWriteFault(test::FaultKind::kNone);
  EXPECT_EQ(Replace("two", "2", 2, false).changed, 1);
  EXPECT_EQ(files.ChangesSoFar(), none + 2);  // one slot, and the sync that only a write needs
}

TEST_F(ReplaceTest, AReplaceInAKeyFieldRefilesTheKeysOfActiveEntriesOnly) {
  Add({"Lomax", "", "a"});
  Add({"Carter", "", "b"});
  Add({"Lowe", "", "c"});
  Show(3);
  ASSERT_TRUE(DeleteEntry(program));
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{2, 1}));
  EXPECT_EQ(Replace("Lo", "Ab", 0, false).changed, 2);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2}));  // Abmax before Carter
  // Undelete files the deleted entry's key as it now reads.
  Show(3);
  ASSERT_TRUE(UndeleteEntry(program));
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 3, 2}));
}

TEST_F(ReplaceTest, ARefusedWriteStopsTheRunWithItsMessage) {
  Add({"Abba", "", "x"});
  Add({"Cream", "", "x"});
  files.SetWriteFault(test::FaultKind::kFail, 1);  // entry 1's slot: no index is touched
  const ReplaceResult result = Replace("x", "y", 2, false);
  files.SetWriteFault(test::FaultKind::kNone);
  EXPECT_FALSE(result.stored);
  EXPECT_EQ(result.changed, 0);
  EXPECT_EQ(Field(2, 2), "x");
  EXPECT_EQ(ui.messages.size(), 1u);  // the disk's refusal, and no "No Matches Found"
}

// Entries over several blocks of the reader, one in seven changed: each block's changed slots go to the
// file in one write, the entries between them kept. A refused second write leaves the second block as it
// was, and only the changes that reached the file count and go to Undo.
TEST_F(ReplaceTest, ScatteredChangesAreWrittenOnceABlockAndCountOnceWritten) {
  constexpr EntryNumber kEntries = 12'000;  // 647 kB of 54-byte slots
  std::vector<TestEntry> entries;
  for (EntryNumber n = 1; n <= kEntries; ++n)
    entries.push_back({.texts = {"A" + std::to_string(n), n % 7 ? "t" : "x"}});
  const CatalogLayout layout = MakeLayout({{"Artist", 10}, {"Title", 10}, {"Format", 6}});
  WriteCatalog(dir.path(), "BIG", layout, entries);
  ASSERT_TRUE(UseCatalog(program, dir.path(), "BIG", CatalogAccess::kChange));
  files.SetWriteFault(FaultKind::kNone);
  ASSERT_EQ(RunReplace(program, "x", {"y", 1, false, 1}, false).changed, kEntries / 7);
  EXPECT_LE(files.ChangesSoFar(), 10);  // a write for each block, and the sync: not one for each of 1,714
  for (EntryNumber n = 1; n <= kEntries; ++n) {
    ASSERT_EQ(Field(n, 0), "A" + std::to_string(n));
    ASSERT_EQ(Field(n, 1), n % 7 ? "t" : "y") << n;
  }
  files.SetWriteFault(FaultKind::kFail, 2);
  EntryChanges changes;
  const ReplaceResult refused = RunReplace(program, "y", {"z", 1, false, 1}, false, &changes);
  files.SetWriteFault(FaultKind::kNone);
  EXPECT_FALSE(refused.stored);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(refused.changed, static_cast<long>(changes.size()));
  const EntryNumber lastWritten = changes.back().number;
  EXPECT_EQ(lastWritten, static_cast<EntryNumber>(changes.size()) * 7);
  EXPECT_EQ(Field(lastWritten, 1), "z");
  EXPECT_EQ(Field(lastWritten + 7, 1), "y");
}

TEST_F(ReplaceTest, AKeyIndexAgreesWithTheEntriesWhicheverWriteOfTheRunIsRefused) {
  Add({"Lomax"});
  Add({"Lowe"});
  Add({"Lord"});
  files.SetWriteFault(test::FaultKind::kNone);
  Replace("o", "a", 0, false);
  const long writes = files.ChangesSoFar();
  for (long at = 1; at <= writes; ++at) {
    files.SetWriteFault(test::FaultKind::kFail, at);
    const ReplaceResult result = Replace(at % 2 == 0 ? "o" : "a", at % 2 == 0 ? "a" : "o", 0, false);
    files.SetWriteFault(test::FaultKind::kNone);
    EXPECT_FALSE(result.stored) << "write " << at;
    ASSERT_TRUE(CheckKeyIndexes(program));
    std::vector<std::pair<std::string, EntryNumber>> keys;
    for (EntryNumber n = 1; n <= 3; ++n) keys.emplace_back(Field(n, 0), n);
    std::sort(keys.begin(), keys.end());
    std::vector<EntryNumber> order;
    for (const auto& key : keys) order.push_back(key.second);
    EXPECT_EQ(Walk(0), order) << "write " << at;
  }
}

// Random entries and replaces, whole-field hits and empty replacements among them, against a plain model:
// every occurrence replaced, the result cut at the field's length, a field that becomes empty stored
// blank and counted, and the key index in the order of the new texts.
TEST_F(ReplaceTest, RandomReplacesAgreeWithAPlainModelEmptyResultsIncluded) {
  std::mt19937 random(24);
  const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  const auto text = [&](int most) {
    std::string t;
    for (int i = pick(most + 1); i > 0; --i) t += "ab "[pick(3)];
    return RightTrim(t);
  };
  const std::array<int, 3> fields = {0, 2, 3};  // Artist (the key), Title, Format
  std::vector<std::array<std::string, 4>> model;
  for (int i = 0; i < 12; ++i) {
    std::array<std::string, 4> entry{text(12), "", text(10), text(4)};
    EraseScreen(program);
    for (const int f : fields) screen.SetBoxText(f, entry[static_cast<std::size_t>(f)]);
    ASSERT_TRUE(SaveEntry(program));
    model.push_back(entry);
  }
  for (int round = 0; round < 60; ++round) {
    const bool global = pick(3) == 0;
    const int field = fields[static_cast<std::size_t>(pick(3))];
    const auto& hit = model[static_cast<std::size_t>(pick(12))][static_cast<std::size_t>(field)];
    std::string search = pick(2) == 0 && !hit.empty() ? hit : text(2);
    if (search.empty()) search = "a";
    const std::string replacement = pick(2) == 0 ? "" : text(3);
    long expected = 0;
    for (auto& entry : model) {
      for (const int f : fields) {
        if (!global && f != field) continue;
        std::string& value = entry[static_cast<std::size_t>(f)];
        if (value.find(search) == std::string::npos) continue;
        ++expected;
        std::string result;
        std::size_t from = 0;
        for (std::size_t at; (at = value.find(search, from)) != std::string::npos; from = at + search.size()) {
          result += value.substr(from, at - from) + replacement;
        }
        value = RightTrim((result + value.substr(from)).substr(0, f == 0 ? 12 : f == 2 ? 10 : 4));
      }
    }
    EXPECT_EQ(Replace(search, replacement, field, global, 1, true).changed, expected) << round;
    std::vector<std::pair<std::string, EntryNumber>> keys;
    for (EntryNumber n = 1; n <= 12; ++n) {
      for (const int f : fields)
        ASSERT_EQ(Field(n, f), model[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(f)]) << round;
      keys.emplace_back(Field(n, 0), n);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<EntryNumber> order;
    for (const auto& key : keys) order.push_back(key.second);
    EXPECT_EQ(Walk(0), order) << round;
  }
}

TEST_F(ReplaceTest, TheDialogRefusesAnEmptySearchTextAndAStartBeyondTheLastEntry) {
  Add({"Abba"});
  Add({"Cream"});
  ReplaceDialog dialog = ReplaceDialogFor(program, "");
  EXPECT_EQ(dialog.fields.size(), 4u);  // Artist, Title, Format, Line 21: the unused field has no item
  EXPECT_EQ(dialog.fields[1].second, 2);
  EXPECT_EQ(CheckReplaceDialog(ui, dialog), ReplaceBox::kSearchString);
  dialog.searchText = "x";
  dialog.startRec = "3";
  EXPECT_EQ(CheckReplaceDialog(ui, dialog), ReplaceBox::kStartRec);
  EXPECT_EQ(dialog.startRec, "2");
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Search Text Specified", "Starting Record is too large!"}));
  dialog.startRec = "";
  EXPECT_EQ(CheckReplaceDialog(ui, dialog), ReplaceBox::kNone);
  StoreReplaceDialog(dialog, program.search.globalText, program.search.replace);
  EXPECT_EQ(program.search.replace.startingRecord, 1);
  dialog.startRec = "0";
  StoreReplaceDialog(dialog, program.search.globalText, program.search.replace);
  EXPECT_EQ(program.search.replace.startingRecord, 1);
  EXPECT_EQ(program.search.globalText, "x");
}

TEST_F(ReplaceTest, TheCommandRefusesACatalogOpenedForReadingOnly) {
  Add({"Abba"});
  program.readOnly = true;
  ReplaceCommand(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"CAT is opened for reading only."}));
}

}  // namespace
}  // namespace vrk::test
