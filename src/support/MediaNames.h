// Field 21 of an entry holds its sound path, the character 1, then its picture path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vrk::lib {

inline constexpr char kMediaSeparator = '\x01';

// 0 with the sound (the text before the separator) in `path`; non-zero when there is none.
std::int16_t GetWAVName(std::string_view field21, std::string& path);
// 0 with the picture (the text after the separator) in `path`; non-zero when there is none.
std::int16_t GetBMPName(std::string_view field21, std::string& path);

}  // namespace vrk::lib
