// Substring search and replace over code page 1252 text, case ignored or not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vrk::lib {

inline constexpr std::int16_t kCaseMustAgree = -1;
inline constexpr std::int16_t kCaseIgnored = 0;

// -1 when `sought` occurs in `searched`, 0 when not. An empty text sought is always found.
std::int16_t IsSubstr(std::string_view sought, std::string_view searched, std::int16_t caseFlag);

// Replaces every occurrence of `search` in `buffer`. The buffer may grow by at most 255 characters;
// what would go beyond is cut. Returns 0 when `search` does not occur (or is empty), else the length
// of the new text.
std::int16_t ReplaceSubstr(std::string_view search, std::string_view replacement, std::string& buffer,
                           std::int16_t caseFlag);

}  // namespace vrk::lib
