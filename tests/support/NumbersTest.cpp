#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "support/MsBin.h"

namespace vrk::lib {
namespace {

TEST(MsBin, KnownValues) {
  EXPECT_EQ(IEEE2MSBIN(0.0f), (MsbinSingle{0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(IEEE2MSBIN(1.0f), (MsbinSingle{0x00, 0x00, 0x00, 0x81}));
  EXPECT_EQ(IEEE2MSBIN(6.0f), (MsbinSingle{0x00, 0x00, 0x40, 0x83}));
  EXPECT_EQ(IEEE2MSBIN(9.0f), (MsbinSingle{0x00, 0x00, 0x10, 0x84}));
  EXPECT_EQ(IEEE2MSBIN(-1.0f), (MsbinSingle{0x00, 0x00, 0x80, 0x81}));
  EXPECT_EQ(IEEE2MSBIN(0.5f), (MsbinSingle{0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(MSBIN2IEEE({0x00, 0x00, 0x40, 0x83}), 6.0f);
  EXPECT_EQ(MSBIN2IEEE({0x00, 0x00, 0x80, 0x81}), -1.0f);
  EXPECT_EQ(MSBIN2IEEE({0x12, 0x34, 0x56, 0x00}), 0.0f);  // exponent 0 is zero whatever the rest
}

TEST(MsBin, EveryWholeNumberUpTo2To24RoundTrips) {
  for (std::int32_t n = 0; n <= (1 << 24); ++n) {
    const float value = static_cast<float>(n);
    ASSERT_EQ(MSBIN2IEEE(IEEE2MSBIN(value)), value) << n;
    ASSERT_EQ(MSBIN2IEEE(IEEE2MSBIN(-value)), -value) << n;
  }
}

TEST(MsBin, EveryFiniteSingleInsideTheRangeRoundTrips) {
  std::mt19937 random(42);
  const float smallest = std::ldexp(1.0f, -128);                      // smallest MBF magnitude
  const float largest = std::nextafter(std::ldexp(1.0f, 127), 0.0f);  // largest MBF magnitude
  for (int i = 0; i < 2'000'000; ++i) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    const float back = MSBIN2IEEE(IEEE2MSBIN(value));
    if (std::fabs(value) > largest) {
      ASSERT_EQ(back, std::copysign(largest, value)) << std::hexfloat << value;
    } else if (std::fabs(value) >= smallest) {
      ASSERT_EQ(back, value) << std::hexfloat << value;
    } else {
      ASSERT_EQ(back, 0.0f) << std::hexfloat << value;
    }
  }
}

TEST(MsBin, OutOfRangeValuesAreDefined) {
  EXPECT_EQ(IEEE2MSBIN(std::numeric_limits<float>::quiet_NaN()), (MsbinSingle{0, 0, 0, 0}));
  EXPECT_EQ(IEEE2MSBIN(std::numeric_limits<float>::denorm_min()), (MsbinSingle{0, 0, 0, 0}));
  EXPECT_EQ(IEEE2MSBIN(std::numeric_limits<float>::infinity()), (MsbinSingle{0xFF, 0xFF, 0x7F, 0xFF}));
  EXPECT_EQ(IEEE2MSBIN(-std::numeric_limits<float>::infinity()), (MsbinSingle{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(IEEE2MSBIN(std::numeric_limits<float>::max()), (MsbinSingle{0xFF, 0xFF, 0x7F, 0xFF}));
  EXPECT_EQ(MSBIN2IEEE({0xFF, 0xFF, 0x7F, 0xFF}), std::nextafter(std::ldexp(1.0f, 127), 0.0f));
}

}  // namespace
}  // namespace vrk::lib
