// Microsoft Binary Format singles: byte 3 is the exponent (bias 129, 0 meaning zero), bit 7 of byte 2
// the sign, and the remaining 23 bits the mantissa below an implied leading 1, as in IEEE.
#include <bit>
#include <cmath>
#include <cstdint>

#include "support/MsBin.h"

namespace vrk::lib {

MsbinSingle IEEE2MSBINOutside(float value) {
  if (std::isnan(value) || value == 0.0f) return {0, 0, 0, 0};
  const bool negative = std::signbit(value);
  int exponent = 0;
  // value = fraction * 2^exponent with fraction in [0.5, 1): MBF keeps fraction's bits below the top one.
  const float fraction = std::frexp(std::fabs(value), &exponent);
  std::uint32_t mantissa = 0x7FFFFF;
  int mbfExponent = exponent + 128;
  if (std::isinf(value) || mbfExponent > 255) {
    mbfExponent = 255;  // saturate at the largest MBF value
  } else if (mbfExponent < 1) {
    return {0, 0, 0, 0};  // below MBF's range
  } else {
    mantissa = static_cast<std::uint32_t>(std::ldexp(fraction, 24)) & 0x7FFFFF;
  }
  return {static_cast<std::uint8_t>(mantissa & 0xFF), static_cast<std::uint8_t>((mantissa >> 8) & 0xFF),
          static_cast<std::uint8_t>(((mantissa >> 16) & 0x7F) | (negative ? 0x80 : 0)),
          static_cast<std::uint8_t>(mbfExponent)};
}

}  // namespace vrk::lib
