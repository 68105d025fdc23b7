// Random catalogs and criteria against a plain model of the search rules: a run's members, Next to
// the end of the list and Previous back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "admin/Sort.h"
#include "platform/CodePage.h"
#include "search/Matching.h"
#include "search/SearchFixture.h"
#include "support/Substrings.h"

namespace vrk {
namespace {

using List = std::vector<EntryNumber>;

std::string Upper(std::string text) {
  for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return text;
}
bool Has(const std::string& field, const std::string& text) {
  return Upper(field).find(Upper(text)) != std::string::npos;
}

// The rules, written out plainly over the entries as read.
struct Model {
  const SearchState& search;
  const std::vector<EntryRecord>& entries;  // entry n at n - 1

  const EntryRecord& At(EntryNumber n) const { return entries[static_cast<std::size_t>(n - 1)]; }
  bool Sequential(EntryNumber n) const {
    if (search.criteria.Empty()) return true;
    if (At(n).Status == kStatusDeleted) return false;
    for (const CriterionLine& line : search.criteria) {
      if (!Has(At(n).Field[static_cast<std::size_t>(line.field)], line.text)) return false;
    }
    return true;
  }
  enum Test { kMatch, kSkip, kStop };
  Test Alphabetical(EntryNumber n) const {
    if (search.criteria.Empty()) return kMatch;
    if (At(n).Status == kStatusDeleted) return kSkip;
    for (const CriterionLine& line : search.criteria) {
      const std::string& field = At(n).Field[static_cast<std::size_t>(line.field)];
      if (line.field == search.keyField) {
        if (Upper(field.substr(0, line.text.size())) != Upper(line.text)) return kStop;
      } else if (!Has(field, line.text)) {
        return kSkip;
      }
    }
    return kMatch;
  }
  bool Beyond(EntryNumber n) const {
    for (const CriterionLine& line : search.endingPoint) {
      const std::string& field = At(n).Field[static_cast<std::size_t>(line.field)];
      const std::size_t length = std::min(field.size(), line.text.size());
      if (Upper(field.substr(0, length)) > Upper(line.text.substr(0, length))) return true;
    }
    return false;
  }
};

class RandomSearchTest : public test::SearchFixture {
 protected:
  std::mt19937 random{20261210};
  std::string Pick(const std::vector<std::string>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
  }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random); }
  std::string Letters(const std::string& alphabet, int most) {
    std::string text;
    for (int i = std::uniform_int_distribution<int>(0, most)(random); i > 0; --i)
      text += Pick({alphabet.substr(0, 1), alphabet.substr(1, 1), alphabet.substr(2, 1)});
    return text;
  }
};

TEST_F(RandomSearchTest, RunsAndBrowsingFollowTheRules) {
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<test::TestEntry> made;
    for (int i = std::uniform_int_distribution<int>(150, 400)(random); i > 0; --i) {
      made.push_back({{Pick({"ab", "Ab", "AC", "ba", "b", ""}) + Letters("abB", 3), Letters("xyX", 4)},
                      Chance(0.1) ? kStatusDeleted : kStatusActive});
    }
    const std::string name = "R" + std::to_string(round);
    test::WriteCatalog(dir.path(), name, test::MakeLayout({{"Artist", 6, kKeyField}, {"Title", 6}}), made);
    ASSERT_TRUE(UseCatalog(program, dir.path(), name, CatalogAccess::kChange));
    if (Chance(0.3)) ASSERT_TRUE(SortCatalog(program, {1}));
    std::vector<EntryRecord> entries(made.size());
    for (EntryNumber n = 1; n <= program.header.Count(); ++n) {
      ASSERT_TRUE(ReadEntry(program, entries[static_cast<std::size_t>(n - 1)], program.header, n, program.entryFile));
    }
    const List index = Walk(0, name);

    for (int run = 0; run < 6; ++run) {
      SearchState& search = program.search;
      search.keyField = 0;
      search.mode = Chance(0.5) ? SearchMode::kSequential : SearchMode::kAlphabetical;
      Criteria({Chance(0.7) ? Letters("abB", 2) : "", Chance(0.4) ? Letters("xyX", 1) : ""});
      RebuildCriterionSet(search.startingPoint, program.header, {Chance(0.3) ? Pick({"a", "B", "ab"}) : ""});
      RebuildCriterionSet(search.endingPoint, program.header,
                          {Chance(0.3) ? Pick({"a", "b", "AB"}) : "", Chance(0.15) ? Pick({"x", "Y"}) : ""});
      const Model model{search, entries};

      List members, back;
      if (search.mode == SearchMode::kSequential) {
        List order;
        if (program.settings.SortedMark == 1.0f) {
          for (auto n = static_cast<EntryNumber>(program.settings.FirstSorted);;
               n = static_cast<EntryNumber>(model.At(n).NextSorted)) {
            order.push_back(n);
            if (n == static_cast<EntryNumber>(program.settings.LastSorted)) break;
          }
        } else {
          for (EntryNumber n = 1; n <= program.header.Count(); ++n) order.push_back(n);
        }
        for (const EntryNumber n : order) {
          if (model.Sequential(n)) members.push_back(n);
        }
        back.assign(members.rbegin(), members.rend());
      } else {
        // The cursor is the position of the key read last; it stays put at either end of the index.
        const CriterionSet& from = search.startingPoint.Empty() ? search.criteria : search.startingPoint;
        const CriterionLine* line = from.Find(0);
        const std::string start = Upper(line ? RightTrim(line->text) : "");
        std::size_t cursor = 0;
        while (cursor < index.size() && Upper(RightTrim(model.At(index[cursor]).Field[0])) < start) ++cursor;
        for (; cursor < index.size(); ++cursor) {
          if (model.Alphabetical(index[cursor]) != Model::kMatch) continue;
          if (search.endingPoint.Empty() || !model.Beyond(index[cursor])) members.push_back(index[cursor]);
          break;
        }
        while (!members.empty() && cursor + 1 < index.size()) {
          const EntryNumber n = index[++cursor];
          const Model::Test test = model.Alphabetical(n);
          if (test == Model::kSkip) continue;
          if (test == Model::kStop || (!search.endingPoint.Empty() && model.Beyond(n))) break;
          members.push_back(n);
        }
        if (!members.empty()) back.push_back(members.back());
        while (!members.empty() && cursor > 0) {
          const EntryNumber n = index[--cursor];
          const Model::Test test = model.Alphabetical(n);
          if (test == Model::kStop) break;
          if (test == Model::kMatch && n != back.back()) back.push_back(n);
        }
      }

      ui.messages.clear();
      const EntryNumber shown = SearchRun(program);
      if (members.empty()) {
        EXPECT_EQ(shown, 0);
        continue;
      }
      ASSERT_EQ(program.currentEntryNumber, members.front());
      EXPECT_EQ(Browse(NextEntry), members);
      EXPECT_EQ(Browse(PreviousEntry), back);
      // An output run sends the same members, except that it ends at the first entry beyond the
      // ending point rather than at the first member beyond it.
      if (search.endingPoint.Empty()) EXPECT_EQ(Sent(SearchRun), members);
    }
    ASSERT_TRUE(CloseCurrentCatalog(program));
  }
}

// The global test reads slots as stored; it must find what a search of each decoded field finds,
// bytes above 127 included, and never a match that runs from one field into the next.
TEST(GlobalMatch, AgreesWithASearchOfEachDecodedField) {
  std::mt19937 random(7);
  const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  // Few characters, so that matches are common; every byte value now and then.
  const std::string alphabet = std::string("aAeE \x82\x90\x84\x8E\xE1\xC4-") + '\0';
  const auto byte = [&] {
    return pick(4) == 0 ? static_cast<char>(pick(256)) : alphabet[pick(static_cast<int>(alphabet.size()))];
  };
  for (int round = 0; round < 3000; ++round) {
    CatalogHeader header;
    for (short& length : header.FieldLength) length = static_cast<short>(pick(3) == 0 ? 0 : pick(6));
    header.EntryLength = EntryLengthFor(header.FieldLength);
    std::string slot(static_cast<std::size_t>(header.EntryLength), '\0');
    for (char& c : slot) c = byte();
    EntryRecord record;
    DecodeSlot(record, header, slot.data());
    std::string text;
    if (pick(2) == 0) {  // a piece of the fields as they lie in the slot, maybe across two
      const SlotLayout layout(header);
      const std::size_t from = 4 + static_cast<std::size_t>(pick(static_cast<int>(layout.links - 4) + 1));
      text = OemToChar(
          std::string_view(slot).substr(from, static_cast<std::size_t>(pick(5))).substr(0, layout.links - from));
      for (char& c : text) c = pick(2) == 0 ? UpperAnsi(c) : c;
    } else {
      for (int i = pick(3); i >= 0; --i) text += byte();
    }
    for (const bool caseSensitive : {false, true}) {
      const auto flag = caseSensitive ? lib::kCaseMustAgree : lib::kCaseIgnored;
      const bool expected = std::any_of(record.Field.begin(), record.Field.end(), [&](const std::string& field) {
        return lib::IsSubstr(text, field, flag) != 0;
      });
      EXPECT_EQ(GlobalMatch(text, caseSensitive, header)(slot.data()), expected) << round << " " << caseSensitive;
    }
  }
}

}  // namespace
}  // namespace vrk
