// The demo catalog's pictures and sound, drawn by the program itself so that the demo needs no files
// of its own: small record sleeves as BMP files and a short chime as a wave file.
#pragma once

#include <string>

namespace vrk {

inline constexpr int kDemoCovers = 5;

// The bytes of sleeve picture i (0 to kDemoCovers - 1): a 96-pixel square, 24-bit BMP file.
std::string DemoCoverBitmap(int i);
// The bytes of the chime: a 16-bit mono wave file of two notes, 0.6 seconds long.
std::string DemoChimeWave();

}  // namespace vrk
