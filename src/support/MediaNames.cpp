#include <cstdint>

#include "support/MediaNames.h"

namespace vrk::lib {
namespace {

std::int16_t Part(std::string_view text, std::string& path) {
  const auto end = text.find_last_not_of(' ');
  path = end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
  return path.empty() ? 1 : 0;
}

}  // namespace

std::int16_t GetWAVName(std::string_view field21, std::string& path) {
  const auto separator = field21.find(kMediaSeparator);
  return Part(separator == std::string_view::npos ? std::string_view() : field21.substr(0, separator), path);
}

std::int16_t GetBMPName(std::string_view field21, std::string& path) {
  const auto separator = field21.find(kMediaSeparator);
  return Part(separator == std::string_view::npos ? std::string_view() : field21.substr(separator + 1), path);
}

}  // namespace vrk::lib
