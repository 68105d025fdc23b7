#include "search/Matching.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "support/Support.h"

namespace vrk {
namespace {

const std::string& FieldOf(const EntryRecord& entry, short field) {
  return entry.Field[static_cast<std::size_t>(std::clamp<short>(field, 0, kFieldCount - 1))];
}

bool Contains(std::string_view text, std::string_view sought) {
  return lib::IsSubstr(sought, text, lib::kCaseIgnored) != 0;
}

FieldMask FieldsOf(const CriterionSet& set) {
  FieldMask mask = 0;
  for (const CriterionLine& line : set) mask |= FieldMask{1} << std::clamp<short>(line.field, 0, kFieldCount - 1);
  return mask;
}

}  // namespace

bool SequentialCriteriaTest(const SearchState& search, const EntryRecord& entry) {
  if (search.criteria.Empty()) return true;
  if (entry.Status == kStatusDeleted) return false;
  return std::all_of(search.criteria.begin(), search.criteria.end(),
                     [&](const CriterionLine& line) { return Contains(FieldOf(entry, line.field), line.text); });
}

AlphaTest AlphabeticalCriteriaTest(const SearchState& search, const EntryRecord& entry) {
  if (search.criteria.Empty()) return AlphaTest::kMatch;
  if (entry.Status == kStatusDeleted) return AlphaTest::kSkip;
  for (const CriterionLine& line : search.criteria) {
    std::string_view tested = FieldOf(entry, line.field);
    const bool onKey = line.field == search.keyField;
    if (onKey) tested = tested.substr(0, line.text.size());
    if (!Contains(tested, line.text)) return onKey ? AlphaTest::kStop : AlphaTest::kSkip;
  }
  return AlphaTest::kMatch;
}

bool EndingPointTest(const SearchState& search, const EntryRecord& entry) {
  for (const CriterionLine& line : search.endingPoint) {
    const std::string& text = FieldOf(entry, line.field);
    const std::size_t length = std::min(text.size(), line.text.size());
    for (std::size_t i = 0; i < length; ++i) {
      const auto a = static_cast<unsigned char>(UpperAnsi(text[i]));
      const auto b = static_cast<unsigned char>(UpperAnsi(line.text[i]));
      if (a != b) {
        if (a > b) return true;
        break;
      }
    }
  }
  return false;
}

bool GlobalMatchTest(const std::string& text, bool caseSensitive, const EntryRecord& entry) {
  const auto flag = caseSensitive ? lib::kCaseMustAgree : lib::kCaseIgnored;
  return std::any_of(entry.Field.begin(), entry.Field.end(),
                     [&](const std::string& field) { return lib::IsSubstr(text, field, flag) != 0; });
}

FieldMask CriteriaFields(const SearchState& search, ListKind kind) {
  switch (kind) {
    case kSequentialSearch: return FieldsOf(search.criteria);
    case kAlphabeticalSearch: return FieldsOf(search.criteria) | FieldsOf(search.endingPoint);
    case kAlphabeticalList: return FieldsOf(search.endingPoint);
    case kGlobalSearch: return kAllFields;
    default: return 0;
  }
}

}  // namespace vrk
