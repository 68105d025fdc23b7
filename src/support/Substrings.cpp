#include <algorithm>
#include <array>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/CodePage.h"
#include "support/Substrings.h"

namespace vrk::lib {
namespace {

// Code page 1252's upper case of every character, for comparing without a call per character.
const std::array<char, 256> kUpper = [] {
  std::array<char, 256> upper{};
  for (int c = 0; c < 256; ++c) upper[static_cast<std::size_t>(c)] = UpperAnsi(static_cast<char>(c));
  return upper;
}();

// Whether the rest of `sought` follows its first character at `at`, letter case ignored.
bool RestAgrees(std::string_view sought, std::string_view searched, std::size_t at) {
  const auto& upper = kUpper;
  for (std::size_t j = 1; j < sought.size(); ++j) {
    if (upper[static_cast<unsigned char>(searched[at + j])] != upper[static_cast<unsigned char>(sought[j])])
      return false;
  }
  return true;
}

std::size_t Find(std::string_view sought, std::string_view searched, std::size_t from, std::int16_t caseFlag) {
  if (caseFlag == kCaseMustAgree) return searched.find(sought, from);
  if (sought.empty()) return from;
  if (sought.size() > searched.size()) return std::string_view::npos;
  const auto& upper = kUpper;
  const char first = upper[static_cast<unsigned char>(sought[0])];
  const std::size_t last = searched.size() - sought.size();  // the last place `sought` can start
  std::size_t i = from;
#if defined(__SSE2__)
  // Where the first character is an ASCII letter, its two cases are looked for 16 places at a time.
  if (first >= 'A' && first <= 'Z') {
    const __m128i big = _mm_set1_epi8(first), small = _mm_set1_epi8(static_cast<char>(first | 0x20));
    const auto hitsAt = [&](std::size_t at) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(searched.data() + at));
      return static_cast<unsigned>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, big), _mm_cmpeq_epi8(chunk, small))));
    };
    const auto agreeing = [&](std::size_t at, unsigned hits) {
      for (; hits != 0; hits &= hits - 1) {
        const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(hits));
        if (RestAgrees(sought, searched, place)) return place;
      }
      return std::string_view::npos;
    };
    for (; i + 16 <= last + 1; i += 16) {
      if (const std::size_t place = agreeing(i, hitsAt(i)); place != std::string_view::npos) return place;
    }
    // The places left, fewer than 16: the last 16 places, without those already looked at.
    if (i <= last && last + 1 >= 16) {
      const std::size_t at = last + 1 - 16;
      return agreeing(at, hitsAt(at) & ~((1u << (i - at)) - 1));
    }
  }
#endif
  for (; i <= last; ++i) {
    if (upper[static_cast<unsigned char>(searched[i])] == first && RestAgrees(sought, searched, i)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::int16_t IsSubstr(std::string_view sought, std::string_view searched, std::int16_t caseFlag) {
  return Find(sought, searched, 0, caseFlag) == std::string_view::npos ? 0 : -1;
}

std::int16_t ReplaceSubstr(std::string_view search, std::string_view replacement, std::string& buffer,
                           std::int16_t caseFlag) {
  if (search.empty()) return 0;
  const std::size_t capacity = buffer.size() + 255;
  std::string result;
  std::size_t from = 0;
  bool found = false;
  for (std::size_t at; (at = Find(search, buffer, from, caseFlag)) != std::string_view::npos;) {
    found = true;
    result.append(buffer, from, at - from);
    result.append(replacement);
    from = at + search.size();
  }
  if (!found) return 0;
  result.append(buffer, from, std::string::npos);
  if (result.size() > capacity) result.resize(capacity);
  buffer = std::move(result);
  return static_cast<std::int16_t>(std::min<std::size_t>(buffer.size(), INT16_MAX));
}

}  // namespace vrk::lib
