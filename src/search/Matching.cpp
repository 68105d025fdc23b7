#include "search/Matching.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/CodePage.h"
#include "support/Substrings.h"

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

GlobalMatch::GlobalMatch(const std::string& text, bool caseSensitive, const CatalogHeader& header, int onlyField) {
  std::array<char, 256> decoded{};
  for (int c = 0; c < 256; ++c) decoded[static_cast<std::size_t>(c)] = static_cast<char>(c);
  OemToCharBuff(decoded.data(), decoded.size());
  const auto keyOf = [&](char c) { return caseSensitive ? c : UpperAnsi(c); };
  for (std::size_t b = 0; b < 256; ++b) key_[b] = keyOf(decoded[b]);
  for (const char c : text) sought_ += keyOf(c);
  if (!sought_.empty()) {
    for (int b = 0; b < 256; ++b) {
      if (key_[static_cast<std::size_t>(b)] == sought_[0]) firstBytes_.push_back(static_cast<unsigned char>(b));
    }
  }
  const SlotLayout layout(header);
  begin_ = layout.field[static_cast<std::size_t>(std::max(onlyField, 0))];
  for (int i = 0; i < kFieldCount; ++i) {
    const auto length = static_cast<std::size_t>(std::max<short>(header.FieldLength[static_cast<std::size_t>(i)], 0));
    if (length > 0 && (onlyField < 0 || i == onlyField))
      fieldEnds_.push_back(layout.field[static_cast<std::size_t>(i)] + length);
  }
}

// Whether the text matches at `at` inside the field that holds `at`; `field` follows the places asked
// about, which only grow.
bool GlobalMatch::Agrees(const char* slot, std::size_t at, std::size_t& field) const {
  while (fieldEnds_[field] <= at) ++field;
  if (at + sought_.size() > fieldEnds_[field]) return false;
  for (std::size_t j = 1; j < sought_.size(); ++j) {
    if (key_[static_cast<unsigned char>(slot[at + j])] != sought_[j]) return false;
  }
  return true;
}

bool GlobalMatch::operator()(const char* slot) const {
  if (sought_.empty()) return true;  // every field contains the empty text
  const std::size_t end = fieldEnds_.empty() ? begin_ : fieldEnds_.back();
  if (firstBytes_.empty() || end - begin_ < sought_.size()) return false;
  const std::size_t last = end - sought_.size();  // the last place the text can start
  std::size_t field = 0;
  std::size_t at = begin_;
#if defined(__SSE2__)
  // With few stored bytes that can begin a match, they are looked for 16 places at a time.
  constexpr std::size_t kWide = 4;
  if (firstBytes_.size() <= kWide) {
    __m128i wanted[kWide];
    for (std::size_t k = 0; k < kWide; ++k) {
      wanted[k] = _mm_set1_epi8(static_cast<char>(firstBytes_[std::min(k, firstBytes_.size() - 1)]));
    }
    for (; at + 16 <= end; at += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(slot + at));
      __m128i equal = _mm_cmpeq_epi8(chunk, wanted[0]);
      for (std::size_t k = 1; k < kWide; ++k) equal = _mm_or_si128(equal, _mm_cmpeq_epi8(chunk, wanted[k]));
      for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(equal)); hits != 0; hits &= hits - 1) {
        const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(hits));
        if (place > last) return false;
        if (Agrees(slot, place, field)) return true;
      }
    }
  }
#endif
  for (; at <= last; ++at) {
    if (key_[static_cast<unsigned char>(slot[at])] == sought_[0] && Agrees(slot, at, field)) return true;
  }
  return false;
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
