// Microsoft Binary Format single-precision numbers, the form sum fields and totals are stored in.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace vrk::lib {

using MsbinSingle = std::array<std::uint8_t, 4>;

// The singles IEEE2MSBIN's inline part leaves: zeros, subnormals, the largest exponents, infinities, NaN.
MsbinSingle IEEE2MSBINOutside(float value);
// Exact for every single inside Microsoft Binary Format's range; smaller magnitudes become 0 and
// larger ones, infinities included, the largest MBF value of that sign; NaN becomes 0. Inline: a sort
// writes two of them into every entry.
inline MsbinSingle IEEE2MSBIN(float value) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  const std::uint32_t exponent = (bits >> 23) & 0xFF;
  // A normal single whose exponent plus two fits a byte: the bits move as they are.
  if (exponent < 1 || exponent > 253) return IEEE2MSBINOutside(value);
  return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
          static_cast<std::uint8_t>(((bits >> 16) & 0x7F) | ((bits >> 24) & 0x80)),
          static_cast<std::uint8_t>(exponent + 2)};
}
// Inline: every entry read converts four of them.
inline float MSBIN2IEEE(const MsbinSingle& value) {
  if (value[3] == 0) return 0.0f;
  const std::uint32_t mantissa =
      value[0] | (static_cast<std::uint32_t>(value[1]) << 8) | (static_cast<std::uint32_t>(value[2] & 0x7F) << 16);
  // MBF's exponent is IEEE's plus two; where IEEE has a normal single for it, the bits move as they are.
  if (value[3] > 2) {
    const std::uint32_t sign = value[2] & 0x80u;
    return std::bit_cast<float>((sign << 24) | (static_cast<std::uint32_t>(value[3] - 2) << 23) | mantissa);
  }
  // 24-bit significand with the implied bit, scaled into [0.5, 1) and then by the exponent.
  const double magnitude = std::ldexp(static_cast<double>(mantissa | 0x800000), value[3] - 128 - 24);
  const float result = static_cast<float>(magnitude);
  return (value[2] & 0x80) ? -result : result;
}

}  // namespace vrk::lib
