#include <algorithm>
#include <cstdint>

#include "platform/CodePage.h"
#include "support/Support.h"

namespace vrk::lib {
namespace {

std::size_t Find(std::string_view sought, std::string_view searched, std::size_t from, std::int16_t caseFlag) {
  if (caseFlag == kCaseMustAgree) return searched.find(sought, from);
  const auto it = std::search(searched.begin() + static_cast<std::ptrdiff_t>(from), searched.end(), sought.begin(),
                              sought.end(), [](char a, char b) { return UpperAnsi(a) == UpperAnsi(b); });
  return it == searched.end() && !sought.empty() ? std::string_view::npos
                                                 : static_cast<std::size_t>(it - searched.begin());
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
