// The catalog table's rule below the window: rows read on demand, filters against the global search,
// orders against a plain sort, a superseded query stopped, the settings kept, Delete on rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <mutex>
#include <random>

#include "admin/Sort.h"
#include "catalog/ComputedFields.h"
#include "platform/CodePage.h"
#include "search/SearchFixture.h"
#include "shell/CatalogTable.h"
#include "shell/Spreadsheets.h"
#include "shell/UndoHistory.h"

namespace vrk {
namespace {

using test::TestEntry;
using List = std::vector<EntryNumber>;

constexpr EntryNumber kEntries = 100000;

class CatalogTableTest : public test::SearchFixture {
 protected:
  static CatalogLayout Albums() {
    return test::MakeLayout({{"Artist", 8, kKeyField}, {"Title", 8}, {"Year", 4}, {"Price", 6, kSumField}});
  }
  // Entries of a few letters each, so that filters find some and many share a value; one in ten deleted.
  void MakeAlbums(EntryNumber count = kEntries) {
    std::mt19937 random(7);
    const auto word = [&](int letters) {
      std::string text;
      for (int i = 0; i < letters; ++i) text += static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 6);
      return text;
    };
    std::vector<TestEntry> entries;
    for (EntryNumber n = 1; n <= count; ++n) {
      entries.push_back({.texts = {word(1 + random() % 4), word(3), std::to_string(1950 + random() % 60),
                                   std::to_string(random() % 100) + "." + std::to_string(random() % 10)},
                         .status = random() % 10 == 0 ? kStatusDeleted : kStatusActive});
    }
    Make(entries, Albums());
    for (EntryNumber n = 1; n <= count; ++n) {
      all.emplace_back();
      ASSERT_TRUE(ReadEntry(program, all.back(), program.header, n, program.entryFile));
    }
  }
  std::optional<TableRows> Query(const TableQuery& query, std::stop_token stop = {}) {
    return QueryTable(TableCatalogOf(program), query, stop);
  }
  static List Entries(const TableRows& rows) {
    List entries;
    for (EntryNumber row = 0; row < rows.Size(); ++row) entries.push_back(rows.Entry(row));
    return entries;
  }
  // The members a plain test finds, in entry order.
  List Where(const std::function<bool(const EntryRecord&)>& test) const {
    List entries;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (test(all[i])) entries.push_back(static_cast<EntryNumber>(i) + 1);
    }
    return entries;
  }

  std::vector<EntryRecord> all;
};

TEST(CatalogTableFilterTest, WordsNamingAFieldAreItsTermsTheRestOneText) {
  const CatalogLayout layout = test::MakeLayout({{"Artist", 8}, {"Year", 4}, {"Yellow", 4}});
  CatalogHeader header;
  header.FieldLength = layout.lengths;
  using Terms = std::vector<FilterTerm>;
  const struct {
    std::string filter;
    Terms terms;
  } cases[] = {
      {"artist:lee YEAR:197", {{0, "lee"}, {1, "197"}}},
      {"ye:19 ar:x", {{1, "19"}, {0, "x"}}},       // first letters: the first field they begin
      {"yellow:5", {{2, "5"}}},                    // a whole name before a longer match's first letters
      {"  abbey   road  ", {{-1, "abbey road"}}},  // blanks between words count once
      {"12:30 ti:x a: blue", {{-1, "12:30 ti:x a: blue"}}},
      {"blue art:lee moon", {{-1, "blue moon"}, {0, "lee"}}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseTableFilter(c.filter, layout.fields, header), c.terms) << c.filter;
}

TEST_F(CatalogTableTest, RowsAreReadOnDemandIntoASmallCache) {
  MakeAlbums();
  const std::optional<TableRows> rows = Query({});
  ASSERT_TRUE(rows);
  EXPECT_TRUE(rows->everyEntry);  // nothing read, nothing kept per entry
  EXPECT_TRUE(rows->entries.empty());
  EXPECT_EQ(rows->Size(), kEntries);
  const TableCatalog catalog = TableCatalogOf(program);
  TableRowCache cache(catalog);
  for (const EntryNumber n : {EntryNumber{1}, kEntries / 2, kEntries, EntryNumber{2}, kEntries - 63}) {
    const EntryRecord* entry = cache.Entry(n);
    ASSERT_NE(entry, nullptr) << n;
    EXPECT_EQ(entry->Field, all[static_cast<std::size_t>(n - 1)].Field) << n;
    EXPECT_EQ(entry->Status, all[static_cast<std::size_t>(n - 1)].Status) << n;
    EXPECT_EQ(cache.Cell(*entry, 0), RightTrim(entry->Field[0]));
  }
  for (EntryNumber n = 1; n <= kEntries; n += 97) ASSERT_NE(cache.Entry(n), nullptr);
  EXPECT_LE(cache.Size(), 600u);
  EXPECT_EQ(cache.Entry(kEntries + 1), nullptr);
}

TEST_F(CatalogTableTest, FilterMembersAreTheGlobalSearchsAndTheFieldsTerms) {
  MakeAlbums();
  for (const std::string text : {"a", "Ab", "DEF", "9.", "195", "zz"}) {
    program.search.globalText = text;
    const std::optional<TableRows> rows = Query({.filter = text});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->entries, Sent(GlobalSearchRun)) << text;
  }
  const auto contains = [](const EntryRecord& entry, int field, const std::string& text) {
    return UpperAnsi(entry.Field[static_cast<std::size_t>(field)]).find(UpperAnsi(text)) != std::string::npos;
  };
  EXPECT_EQ(Query({.filter = "art:ab ye:19 ti:c"})->entries, Where([&](const EntryRecord& entry) {
              return contains(entry, 0, "ab") && contains(entry, 2, "19") && contains(entry, 1, "c");
            }));
  EXPECT_EQ(Query({.filter = "f price:5", .hideDeleted = true})->entries, Where([&](const EntryRecord& entry) {
              return entry.Status != kStatusDeleted && contains(entry, 3, "5") &&
                     std::any_of(entry.Field.begin(), entry.Field.end(), [](const std::string& field) {
                       return UpperAnsi(field).find('F') != std::string::npos;
                     });
            }));
}

TEST_F(CatalogTableTest, OrdersAreAPlainStableSortOfTheFieldsValues) {
  MakeAlbums();
  const List members =
      Where([](const EntryRecord& entry) { return UpperAnsi(entry.Field[1]).find('B') != std::string::npos; });
  const auto sorted = [&](bool descending, const std::function<bool(const EntryRecord&, const EntryRecord&)>& less) {
    List order = members;
    std::stable_sort(order.begin(), order.end(), [&](EntryNumber a, EntryNumber b) {
      const EntryRecord &x = all[static_cast<std::size_t>(a - 1)], &y = all[static_cast<std::size_t>(b - 1)];
      return descending ? less(y, x) : less(x, y);
    });
    return order;
  };
  const auto byText = [](int field) {
    return [field](const EntryRecord& x, const EntryRecord& y) {
      return UpperAnsi(x.Field[static_cast<std::size_t>(field)]) < UpperAnsi(y.Field[static_cast<std::size_t>(field)]);
    };
  };
  const auto byNumber = [](const EntryRecord& x, const EntryRecord& y) {
    return FieldNumber(x.Field[3]) < FieldNumber(y.Field[3]);
  };
  for (const bool descending : {false, true}) {
    const auto query = [&](int field) {
      return Query({.filter = "ti:b", .order = {.field = field, .descending = descending}})->entries;
    };
    EXPECT_EQ(query(0), sorted(descending, byText(0))) << descending;
    EXPECT_EQ(query(2), sorted(descending, byText(2))) << descending;
    EXPECT_EQ(query(3), sorted(descending, byNumber)) << descending;  // 10.5 after 9.5
    List entryOrder = members;
    if (descending) std::reverse(entryOrder.begin(), entryOrder.end());
    EXPECT_EQ(query(kEntryOrder), entryOrder);
  }
}

TEST_F(CatalogTableTest, SortedOrderFollowsTheChainThenTakesTheEntriesAddedSince) {
  Make({{{"Cc", "x"}}, {{"Aa", "y"}}, {{"Dd", "z"}, kStatusDeleted}, {{"Bb", "w"}}}, Albums());
  ASSERT_TRUE(SortCatalog(program, {0}));
  Add({"Ab", "v"});  // entry 5, on no chain
  const List chain = Walk(0);
  ASSERT_EQ(chain, (List{2, 5, 4, 1, 3}));  // the index has the new entry, the chain does not
  EXPECT_EQ(Query({.order = {.field = kSortedOrder}})->entries, (List{2, 4, 1, 3, 5}));
  EXPECT_EQ(Query({.hideDeleted = true, .order = {.field = kSortedOrder, .descending = true}})->entries,
            (List{5, 1, 4, 2}));
}

TEST_F(CatalogTableTest, ASupersededQueryIsStoppedAndOnlyTheLastIsShown) {
  MakeAlbums();
  std::stop_source stopped;
  stopped.request_stop();
  EXPECT_FALSE(Query({.filter = "a"}, stopped.get_token()));
  EXPECT_FALSE(Query({.order = {.field = 0}}, stopped.get_token()));
  std::vector<std::string> done;
  std::mutex guard;
  std::promise<void> last;  // the last query is superseded by none: it reports
  {
    TableWorker worker;
    for (const std::string filter : {"a", "ab", "abc"}) {
      worker.Start(TableCatalogOf(program), {.filter = filter}, [&, filter](TableRows rows) {
        const std::lock_guard lock(guard);
        done.push_back(filter + " " + std::to_string(rows.Size()));
        if (filter == "abc") last.set_value();
      });
    }
    last.get_future().wait();
  }
  ASSERT_FALSE(done.empty());
  const List expected = Query({.filter = "abc"})->entries;
  EXPECT_EQ(done.back(), "abc " + std::to_string(expected.size()));
}

TEST_F(CatalogTableTest, TheQueryIsRememberedPerCatalog) {
  MakeAlbums(3);
  EXPECT_EQ(ReadTableQuery(program).filter, "");
  const TableQuery query{.filter = "art:x = y", .hideDeleted = true, .order = {.field = 3, .descending = true}};
  ASSERT_TRUE(WriteTableQuery(program, program.BasePath(), program.fieldTable, query));
  const TableQuery read = ReadTableQuery(program);
  EXPECT_EQ(read.filter, query.filter);
  EXPECT_TRUE(read.hideDeleted);
  EXPECT_EQ(read.order, query.order);
  program.catalogName = "OTHER";
  EXPECT_EQ(ReadTableQuery(program).order, TableOrder{});
  for (const char* text : {"number", "sorted:desc", "Price:desc", "ti"}) {
    const auto order = ParseTableOrder(text, program.fieldTable, program.header);
    ASSERT_TRUE(order) << text;
    EXPECT_EQ(ParseTableOrder(TableOrderText(*order, program.fieldTable), program.fieldTable, program.header), order);
  }
  EXPECT_FALSE(ParseTableOrder("nosuch", program.fieldTable, program.header));
}

TEST_F(CatalogTableTest, DeleteAndUndeleteOnRowsAskFirstAndKeepTheIndexRight) {
  Make({{{"Cc", "x"}}, {{"Aa", "y"}}, {{"Bb", "z"}, kStatusDeleted}, {{"Dd", "w"}}}, Albums());
  ui.answers = {Answer::No};
  EXPECT_FALSE(DeleteTableRows(program, {1, 2}, false));
  EXPECT_EQ(ui.messages.back().text, "Delete the 2 selected entries?");
  EXPECT_EQ(Query({.hideDeleted = true})->entries, (List{1, 2, 4}));
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(DeleteTableRows(program, {1, 3}, false));  // 3 stays deleted
  EXPECT_EQ(Query({.hideDeleted = true})->entries, (List{2, 4}));
  EXPECT_EQ(Walk(0), (List{2, 3, 4}));  // a rebuild files the keys of deleted entries too
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(DeleteTableRows(program, {2, 3}, true));  // 2 stays active
  EXPECT_EQ(ui.messages.back().text, "Undelete the 2 selected entries?");
  EXPECT_EQ(Query({.hideDeleted = true})->entries, (List{2, 3, 4}));
  EXPECT_EQ(Walk(0), (List{2, 3, 4}));
}

TEST_F(CatalogTableTest, DeletingRowsIsOneUndoStep) {
  Make({{{"Cc", "x"}}, {{"Aa", "y"}}, {{"Bb", "z"}}, {{"Dd", "w"}}}, Albums());
  ui.answers = {Answer::Yes};
  ASSERT_TRUE(DeleteTableRows(program, {1, 2, 4}, false));
  EXPECT_EQ(Query({.hideDeleted = true})->entries, (List{3}));
  EXPECT_EQ(UndoCaption(program), "U&ndo Delete in 3 entries");
  ASSERT_TRUE(UndoCommand(program));
  EXPECT_EQ(Query({.hideDeleted = true})->entries, (List{1, 2, 3, 4}));
  EXPECT_EQ(UndoCaption(program), "U&ndo");
}

// The table's exports choose their file as the File menu's exports do: never one of the catalog's own.
TEST_F(CatalogTableTest, AnExportOfRowsIsNeverWrittenOverTheCatalogsFiles) {
  MakeAlbums(3);
  ui.fileAnswers = {dir / "CAT.DAT", dir / "rows"};
  EXPECT_EQ(ChooseExportFile(program, "Export these rows", "CSV (*.csv)|*.csv", ".csv"), "");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("a file of the catalog CAT"), std::string::npos) << ui.messages[0].text;
  EXPECT_EQ(ChooseExportFile(program, "Export these rows", "CSV (*.csv)|*.csv", ".csv"), dir / "rows.csv");
}

}  // namespace
}  // namespace vrk
