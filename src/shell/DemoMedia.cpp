#include "shell/DemoMedia.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vrk {
namespace {

void Put16(std::string& bytes, std::uint32_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, std::uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

struct Colour {
  std::uint8_t red, green, blue;
};

// Sleeve and label colours, one pair a cover.
constexpr std::array<std::array<Colour, 2>, kDemoCovers> kCoverColours = {{
    {{{196, 74, 46}, {245, 214, 120}}},
    {{{38, 92, 140}, {236, 236, 226}}},
    {{{62, 128, 84}, {232, 186, 64}}},
    {{{120, 60, 132}, {250, 160, 170}}},
    {{{214, 160, 48}, {40, 40, 48}}},
}};

constexpr int kSide = 96;

// The colour of one pixel of a cover: a sleeve with a record sliding out of it to the right.
Colour CoverPixel(int i, int x, int y) {
  const auto& [sleeve, label] = kCoverColours[static_cast<std::size_t>(i)];
  const double dx = x - 56.0, dy = y - 48.0;
  const double r = std::sqrt(dx * dx + dy * dy);
  if (x < 44 + 4 * i && x >= 4 && y >= 8 && y < kSide - 8) return sleeve;
  if (r < 3) return sleeve;
  if (r < 12) return label;
  if (r < 38) return (static_cast<int>(r) % 4 == 0) ? Colour{58, 58, 62} : Colour{24, 24, 28};  // grooves
  return {250, 248, 240};
}

}  // namespace

std::string DemoCoverBitmap(int i) {
  constexpr std::uint32_t kRow = kSide * 3;  // a multiple of 4: no padding
  constexpr std::uint32_t kPixels = kRow * kSide;
  std::string bytes = "BM";
  Put32(bytes, 54 + kPixels);
  Put32(bytes, 0);
  Put32(bytes, 54);  // where the pixels start
  Put32(bytes, 40);  // the information header's size
  Put32(bytes, kSide);
  Put32(bytes, kSide);
  Put16(bytes, 1);   // planes
  Put16(bytes, 24);  // bits a pixel
  Put32(bytes, 0);   // no compression
  Put32(bytes, kPixels);
  Put32(bytes, 2835);  // 72 dots an inch
  Put32(bytes, 2835);
  Put32(bytes, 0);
  Put32(bytes, 0);
  for (int y = kSide - 1; y >= 0; --y) {  // the bottom row first
    for (int x = 0; x < kSide; ++x) {
      const Colour c = CoverPixel(i, x, y);
      bytes += static_cast<char>(c.blue);
      bytes += static_cast<char>(c.green);
      bytes += static_cast<char>(c.red);
    }
  }
  return bytes;
}

std::string DemoChimeWave() {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint32_t kSamples = kRate * 6 / 10;
  std::string bytes = "RIFF";
  Put32(bytes, 36 + kSamples * 2);
  bytes += "WAVEfmt ";
  Put32(bytes, 16);
  Put16(bytes, 1);  // PCM
  Put16(bytes, 1);  // mono
  Put32(bytes, kRate);
  Put32(bytes, kRate * 2);
  Put16(bytes, 2);
  Put16(bytes, 16);
  bytes += "data";
  Put32(bytes, kSamples * 2);
  for (std::uint32_t n = 0; n < kSamples; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const bool second = n >= kSamples / 3;  // E, then A above it
    const double since = second ? t - 0.2 : t;
    const double tone = std::sin(2 * std::numbers::pi * (second ? 880.0 : 659.25) * t) * std::exp(-6.0 * since);
    Put16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(tone * 9000)));
  }
  return bytes;
}

}  // namespace vrk
