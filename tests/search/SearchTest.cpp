#include <gtest/gtest.h>

#include <filesystem>

#include "admin/Sort.h"
#include "catalog/Files.h"
#include "report/QuickView.h"
#include "search/Matching.h"
#include "search/SearchFixture.h"

namespace vrk {
namespace {

using test::MakeLayout;
using test::TestEntry;
using List = std::vector<EntryNumber>;

class SearchTest : public test::SearchFixture {
 protected:
  // Key order: Alonso 4, lo 7 (deleted), LOBO 2, lone 3, Lord 1, Madonna 5, Mzee 8, Nirvana 6.
  void MakeArtists() {
    Make({{{"Lord", "Songs", "LP"}},
          {{"LOBO", "Hits", "Lp"}},
          {{"lone", "Rain", "CD"}},
          {{"Alonso", "Lo Fi", "LP"}},
          {{"Madonna", "Like", "CD"}},
          {{"Nirvana", "Lounge", "LP"}},
          {{"lo", "Gone", "LP"}, kStatusDeleted},
          {{"Mzee", "Lo", "LP"}}});
  }
  void Alphabetical() {
    program.search.mode = SearchMode::kAlphabetical;
    program.search.keyField = 0;
  }
};

TEST_F(SearchTest, AlphabeticalKeyCriterionIsAPrefixInAnyCaseAndPassesDeletedEntries) {
  MakeArtists();
  Alphabetical();
  Criteria({"lo"});
  EXPECT_EQ(Sent(SearchRun), (List{2, 3, 1}));
  // To the main window: the same members through Next, and back through Previous.
  EXPECT_EQ(SearchRun(program), 1);
  EXPECT_EQ(program.listKind, kAlphabeticalSearch);
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Alpha Search");
  EXPECT_EQ(Browse(NextEntry), (List{2, 3, 1}));
  EXPECT_EQ(Browse(PreviousEntry), (List{1, 3, 2}));
  EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "message: You are at the end.", "beep",
                                                 "message: You are at the beginning."}));
}

TEST_F(SearchTest, AlphabeticalSearchWithoutMatchEndsAtTheFirstKeyPastItsPrefix) {
  std::vector<TestEntry> entries;
  for (int i = 0; i < 400; ++i) entries.push_back({{"K" + std::to_string(1000 + i), "Title"}});
  Make(entries);
  Alphabetical();
  // The gauge lets events run every 4 keys: walking on to the end of the index would show.
  for (const char* prefix : {"k0", "K10x", "k1399 ", "K2"}) {
    SCOPED_TRACE(prefix);
    Criteria({prefix, "none"});
    ui.doEventsCalls = 0;
    EXPECT_EQ(Sent(SearchRun), List{});
    EXPECT_LE(ui.doEventsCalls, 3);  // opening and closing the run's windows, a key or two
  }
  Criteria({"K139", "title"});
  EXPECT_EQ(Sent(SearchRun), (List{391, 392, 393, 394, 395, 396, 397, 398, 399, 400}));
}

TEST_F(SearchTest, AlphabeticalOtherFieldsAreContainsTests) {
  MakeArtists();
  Alphabetical();
  Criteria({"", "lo"});  // no key criterion: the whole index, Title containing "lo"
  EXPECT_EQ(Sent(SearchRun), (List{4, 8, 6}));
}

TEST_F(SearchTest, StartingPointBeforeTheCriterionSkipsToItsRangeAndStopsAfter) {
  MakeArtists();
  Alphabetical();
  Criteria({"LO"});
  RebuildCriterionSet(program.search.startingPoint, program.header, {"A"});
  EXPECT_EQ(Sent(SearchRun), (List{2, 3, 1}));
  // A run to an output empties the starting and ending points.
  EXPECT_TRUE(program.search.startingPoint.Empty());
}

TEST_F(SearchTest, EndingPointOfMKeepsKeysStartingWithMAndStopsAtN) {
  MakeArtists();
  program.search.keyField = 0;
  RebuildCriterionSet(program.search.startingPoint, program.header, {"Lord"});
  RebuildCriterionSet(program.search.endingPoint, program.header, {"m"});
  // List Alphabetically sends deleted entries and stops before the first key beyond the ending point.
  EXPECT_EQ(Sent(ListAlphabeticallyRun), (List{1, 5, 8}));
  Alphabetical();
  RebuildCriterionSet(program.search.endingPoint, program.header, {"M"});
  Criteria({});  // without criteria every entry matches, deleted ones too
  EXPECT_EQ(Sent(SearchRun), (List{4, 7, 2, 3, 1, 5, 8}));
}

TEST_F(SearchTest, ListAlphabeticallyOnTheMainWindowRunsToTheEndOfTheIndex) {
  MakeArtists();
  program.search.keyField = 0;
  RebuildCriterionSet(program.search.startingPoint, program.header, {"M"});
  RebuildCriterionSet(program.search.endingPoint, program.header, {"M"});
  EXPECT_EQ(ListAlphabeticallyRun(program), 1);
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Alpha List");
  EXPECT_EQ(Browse(NextEntry), (List{5, 8, 6}));
  EXPECT_EQ(Browse(PreviousEntry), (List{6, 8, 5, 1, 3, 2, 7, 4}));
}

TEST_F(SearchTest, SequentialSearchPassesOverDeletedEntriesUnlessThereAreNoCriteria) {
  MakeArtists();
  Criteria({"", "", "lp"});
  EXPECT_EQ(Sent(SearchRun), (List{1, 2, 4, 6, 8}));
  Criteria({});
  EXPECT_EQ(Sent(SearchRun).size(), 8u);
}

TEST_F(SearchTest, CriteriaKeepTheirTrailingBlanks) {
  MakeArtists();
  Criteria({"", "Lo "});  // "Lo" followed by a blank: "Lo Fi" and the padded "Lo", not "Lounge"
  EXPECT_EQ(Sent(SearchRun), (List{4, 8}));
  Alphabetical();
  Criteria({"lo  "});  // the key "lo" padded: the deleted entry only, which is passed over
  SearchRun(program);
  EXPECT_EQ(ui.texts().back(), "No Matches Found");
}

TEST_F(SearchTest, SortedCatalogIsSearchedInSortOrderWithLastSortedAsAMatch) {
  MakeArtists();
  ASSERT_TRUE(SortCatalog(program, {1}));  // by Title: Gone 7, Hits 2, Like 5, Lo 8, Lo Fi 4, Lounge 6, Rain 3, Songs 1
  ASSERT_EQ(program.settings.LastSorted, 1.0f);
  Criteria({"", "o"});
  EXPECT_EQ(Sent(SearchRun), (List{8, 4, 6, 1}));
  Criteria({"Lord"});
  EXPECT_EQ(SearchRun(program), 1);
  EXPECT_EQ(program.currentEntryNumber, 1);
  NextEntry(program);
  PreviousEntry(program);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "message: No Match Found", "message: No Match Found"}));
}

// Entries saved after the sort join the chain at its end: every sequential search reaches them, after
// the sorted ones, and the catalog stays sorted.
TEST_F(SearchTest, EntriesAddedAfterTheSortAreSearchedAtTheEndOfTheChain) {
  MakeArtists();
  ASSERT_TRUE(SortCatalog(program, {1}));  // Gone 7, Hits 2, Like 5, Lo 8, Lo Fi 4, Lounge 6, Rain 3, Songs 1
  Add({"Aloe", "Glow", "LP"});
  Add({"Bo", "Ago", "CD"});
  EXPECT_EQ(program.settings.LastSorted, 10.0f);
  CatalogSettings settings;
  ReadSettings(program, "CAT", settings);
  EXPECT_EQ(settings.SortedMark, 1.0f);
  EXPECT_EQ(settings.LastSorted, 10.0f);
  Criteria({"", "o"});
  EXPECT_EQ(Sent(SearchRun), (List{8, 4, 6, 1, 9, 10}));
  EXPECT_EQ(SearchRun(program), 1);
  EXPECT_EQ(Browse(NextEntry), (List{8, 4, 6, 1, 9, 10}));
  EXPECT_EQ(Browse(PreviousEntry), (List{10, 9, 1, 6, 4, 8}));
}

// A chain of many entries, the last ones saved after the sort, is searched in its order to its end.
TEST_F(SearchTest, ALongChainIsSearchedInItsOrderToItsEnd) {
  std::vector<TestEntry> made;
  for (int i = 0; i < 700; ++i) {
    made.push_back({{"A" + std::to_string(i % 7), "T" + std::to_string((i * 37) % 101), "LP"}, kStatusActive});
  }
  Make(made);
  ASSERT_TRUE(SortCatalog(program, {1}));
  Add({"A1", "T0", "CD"});
  Add({"A1", "T99", "CD"});
  List expected;
  EntryRecord record;
  for (auto n = static_cast<EntryNumber>(program.settings.FirstSorted);;
       n = static_cast<EntryNumber>(record.NextSorted)) {
    ASSERT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
    if (RightTrim(record.Field[0]) == "A1") expected.push_back(n);
    if (n == static_cast<EntryNumber>(program.settings.LastSorted)) break;
  }
  ASSERT_EQ(expected.size(), 102u);
  Criteria({"A1"});
  EXPECT_EQ(Sent(SearchRun), expected);
}

// Entry 3's NextSorted leads back into the chain, which would come round for ever: the catalog is
// searched in entry order, once, with a notice, and Next goes on in entry order.
TEST_F(SearchTest, AChainThatComesRoundIsSearchedInEntryOrderWithANotice) {
  MakeArtists();
  ASSERT_TRUE(SortCatalog(program, {1}));  // Gone 7, Hits 2, Like 5, Lo 8, Lo Fi 4, Lounge 6, Rain 3, Songs 1
  EntryRecord rain;
  ASSERT_TRUE(ReadEntry(program, rain, program.header, 3, program.entryFile));
  rain.NextSorted = 2;
  ASSERT_TRUE(WriteEntry(program, rain, program.header, 3, program.entryFile));
  Criteria({"", "o"});
  EXPECT_EQ(Sent(SearchRun), (List{1, 4, 6, 8}));
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0], "The sorted order of CAT is damaged: CAT is searched in entry order. Unsort mends it.");
  EXPECT_EQ(SearchRun(program), 1);
  EXPECT_EQ(Browse(NextEntry), (List{1, 4, 6, 8}));
}

TEST_F(SearchTest, NoMatchMessagesLeaveTheScreenErased) {
  MakeArtists();
  Criteria({"zz"});
  EXPECT_EQ(SearchRun(program), 0);
  Alphabetical();
  EXPECT_EQ(SearchRun(program), 0);
  program.search.globalText = "zz";
  EXPECT_EQ(GlobalSearchRun(program), 0);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"message: No Matches Found!!!", "message: No Matches Found", "beep",
                                                 "message: No Matches Found"}));
  EXPECT_EQ(program.listKind, kMakeEntries);
}

TEST_F(SearchTest, GlobalSearchFindsAnyFieldAndFollowsTheCaseSetting) {
  MakeArtists();
  program.search.globalText = "LP";
  program.caseSensitive = true;
  EXPECT_EQ(Sent(GlobalSearchRun), (List{1, 4, 6, 7, 8}));
  program.caseSensitive = false;
  EXPECT_EQ(GlobalSearchRun(program), 1);
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Global Search");
  EXPECT_EQ(Browse(NextEntry), (List{1, 2, 4, 6, 7, 8}));
  EXPECT_EQ(Browse(PreviousEntry), (List{8, 7, 6, 4, 2, 1}));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No matches found.", "No matches found."}));
  EXPECT_EQ(ui.beeps, 2);
}

TEST_F(SearchTest, RangeListEndsAtItsBoundsByEquality) {
  MakeArtists();
  program.search.range = {5, 8};
  EXPECT_EQ(Sent(ListRangeRun), (List{5, 6, 7, 8}));
  EXPECT_EQ(ListRangeRun(program), 1);
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Seq List");
  EXPECT_EQ(Browse(NextEntry), (List{5, 6, 7, 8}));
  EXPECT_EQ(Browse(PreviousEntry), (List{8, 7, 6, 5}));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"End of Current List", "Start of Current List"}));
  // After Select Number below the range, Previous runs on down to entry 1 and stops there.
  GoToEntry(program, 2);
  EXPECT_EQ(Browse(PreviousEntry), (List{2, 1}));
}

TEST_F(SearchTest, FindDeletedShowsOnlyDeletedEntries) {
  Make({{{"a"}, kStatusDeleted}, {{"b"}}, {{"c"}, kStatusDeleted}});
  EXPECT_EQ(Sent(FindDeleted), (List{1, 3}));
  EXPECT_EQ(FindDeleted(program), 1);
  EXPECT_EQ(Browse(NextEntry), (List{1, 3}));
  EXPECT_EQ(Browse(PreviousEntry), (List{3, 1}));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No More Deleted Records", "Start of Current List"}));
}

TEST_F(SearchTest, ARunThatFindsNothingLeavesNoFileAndNoWindowAndOnlySaysSo) {
  Make({{{"a"}}});
  program.report.destination = ReportDestination::kDbaseFile;
  ui.promptAnswers.push_back("GONE");
  EXPECT_EQ(FindDeleted(program), 0);
  EXPECT_FALSE(FileExists(dir.path() + "/GONE.DBF"));
  program.report.destination = ReportDestination::kAsciiFile;
  ui.fileAnswers.push_back(dir.path() + "/GONE.TXT");
  program.search.globalText = "zz";
  EXPECT_EQ(GlobalSearchRun(program), 0);
  EXPECT_FALSE(FileExists(dir.path() + "/GONE.TXT"));
  program.report.destination = ReportDestination::kQuickView;
  int views = 0;
  ui.dialogs.Register<QuickView>([&views](QuickView&) { return ++views > 0; });
  EXPECT_EQ(FindDeleted(program), 0);
  EXPECT_EQ(views, 0);
  EXPECT_EQ(ui.texts(),
            (std::vector<std::string>{"No Deleted Records Found", "No Matches Found", "No Deleted Records Found"}));
}

TEST_F(SearchTest, ADbaseTableThatCannotBeMadeLeavesTheNormalPointer) {
  Make({{{"a"}, kStatusDeleted}});
  program.report.destination = ReportDestination::kDbaseFile;
  std::filesystem::create_directory(dir / "BAD.DBF");
  ui.promptAnswers.push_back("BAD");
  EXPECT_EQ(FindDeleted(program), 0);
  EXPECT_FALSE(ui.messages.empty());  // the table's failure
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(SearchTest, SearchToADbaseFileWritesTheMatchesAndSaysSo) {
  MakeArtists();
  program.report.destination = ReportDestination::kDbaseFile;
  ui.promptAnswers.push_back("OUT");
  Alphabetical();
  Criteria({"lo"});
  EXPECT_EQ(SearchRun(program), 3);
  EXPECT_EQ(ui.texts().back(), "Wrote 3 entries to DBASE III file: " + dir.path() + "/OUT.DBF");
  EXPECT_EQ(program.listKind, kMakeEntries);
}

TEST_F(SearchTest, QuickViewShowsTheMatchesInItsGridAndFilesAKeyEditedThere) {
  MakeArtists();
  program.report.destination = ReportDestination::kQuickView;
  std::size_t rows = 0;
  bool committed = false;
  ui.dialogs.Register<QuickView>([&](QuickView& view) {
    rows = view.rows.size();
    committed = CommitQuickViewEdit(view, 1, 1, "Zappa");  // the first member, LOBO, renamed
    return true;
  });
  Alphabetical();
  Criteria({"lo"});
  const EntryNumber sent = SearchRun(program);
  EXPECT_EQ(sent, 3);
  EXPECT_EQ(rows, static_cast<std::size_t>(sent));
  EXPECT_TRUE(committed);
  EXPECT_EQ(program.listKind, kMakeEntries);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{4, 7, 3, 1, 5, 8, 6, 2}));
}

TEST_F(SearchTest, AFullOutputStopsTheWalkAtExactlyItsLimit) {
  MakeArtists();
  for (const std::size_t limit : {std::size_t{1}, std::size_t{3}}) {
    test::RecordingOutput output;
    output.limit = limit;
    program.search.range = {1, 8};
    ListRangeRun(program, &output);
    EXPECT_EQ(output.sent.size(), limit);
    EXPECT_EQ(output.finished, static_cast<EntryNumber>(limit));
  }
}

TEST_F(SearchTest, CancelOnTheGaugeKeepsWhatWasSentAndFinishes) {
  std::vector<TestEntry> entries(400, TestEntry{{"x"}});
  Make(entries);
  ui.cancelAtDoEvents = 6;
  test::RecordingOutput output;
  GlobalSearchRun(program, &output);  // empty text: every entry matches
  EXPECT_GT(output.sent.size(), 0u);
  EXPECT_LT(output.sent.size(), 400u);
  EXPECT_EQ(output.finished, static_cast<EntryNumber>(output.sent.size()));
  EXPECT_TRUE(ui.mainWindowEnabled);
}

TEST_F(SearchTest, CaseSensitiveIsSavedAtOnceAndKeyFieldsAreOffered) {
  Make({{{"a"}}}, MakeLayout({{"Title", 10}, {"Artist", 10, kKeyField}, {"Year", 4, kKeySumField}}));
  ASSERT_TRUE(SetCaseSensitive(program, true));
  CatalogSettings saved;
  ReadSettings(program, "CAT", saved);
  EXPECT_EQ(saved.CaseInsensitive, 0);
  const KeyFieldList keys = KeyFieldListFor(program, 2);
  ASSERT_EQ(keys.items.size(), 2u);
  EXPECT_EQ(keys.items[0].name, "Artist        ");
  EXPECT_EQ(keys.current, 1);
  EXPECT_EQ(KeyFieldListFor(program, 0).current, 0);  // a field that is no key field: the first
}

TEST(SearchChecks, ListRangeChecksInOrderAndCorrectsTheEnd) {
  EXPECT_EQ(CheckListRange("", "", 10).message, "Invalid Start #");
  EXPECT_EQ(CheckListRange("1", "", 10).message, "Invalid End #");
  EXPECT_EQ(CheckListRange("0", "3", 10).message, "Start # must be greater than 0");
  const RangeCheck reversed = CheckListRange("4", "3", 10);
  EXPECT_EQ(reversed.message, "End # must be greater than or equal to Start #");
  EXPECT_EQ(reversed.focus, RangeBox::kEnd);
  const RangeCheck beyond = CheckListRange("4", "99999999999999", 10);
  EXPECT_EQ(beyond.message, "End # must not be greater than the number on entries.");
  EXPECT_EQ(beyond.endText, "10");
  const RangeCheck one = CheckListRange("5", "5", 10);
  EXPECT_TRUE(one.message.empty());
  EXPECT_EQ(one.range.start, 5);
  EXPECT_EQ(one.range.end, 5);
  EXPECT_EQ(CheckGlobalText(""), "No Search Text Specified");
  EXPECT_EQ(CheckGlobalText(" "), "");
}

TEST(SearchChecks, CriterionSetsTakeUsedFieldsWithTextOnly) {
  CatalogHeader header;
  header.FieldLength = {10, 0, 5};
  CriterionSet set;
  RebuildCriterionSet(set, header, {"a ", "b", "", "d"});
  ASSERT_EQ(set.count, 1);
  EXPECT_EQ(set.lines[0].text, "a ");
  EXPECT_EQ(CriterionTexts(set, 2), (std::vector<std::string>{"a ", ""}));
}

}  // namespace
}  // namespace vrk
