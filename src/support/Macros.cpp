// Stored macros are sent as keystrokes; the characters a keystroke sender reads as commands
// (+ ^ % ~ ( ) { } [ ]) are stored in braces so that they are typed as themselves.
#include <cstdint>

#include "support/Macros.h"

namespace vrk::lib {
namespace {

bool IsCommandCharacter(char c) { return std::string_view("+^%~(){}[]").find(c) != std::string_view::npos; }

}  // namespace

std::int16_t FilterMacro(std::string_view typed, std::string& stored) {
  stored.clear();
  for (const char c : typed) {
    const std::size_t needed = IsCommandCharacter(c) ? 3 : 1;
    if (stored.size() + needed > kMacroLength) break;
    if (needed == 3) {
      stored += '{';
      stored += c;
      stored += '}';
    } else {
      stored += c;
    }
  }
  return static_cast<std::int16_t>(stored.size());
}

std::size_t StoredMacroLength(std::string_view typed) {
  std::size_t length = 0;
  for (const char c : typed) length += IsCommandCharacter(c) ? 3 : 1;
  return length;
}

std::int16_t UnFilterMacro(std::string_view stored, std::string& typed) {
  typed.clear();
  for (std::size_t i = 0; i < stored.size() && typed.size() < kMacroLength; ++i) {
    if (stored[i] == '{' && i + 2 < stored.size() && stored[i + 2] == '}') {
      typed += stored[i + 1];
      i += 2;
    } else {
      typed += stored[i];
    }
  }
  return static_cast<std::int16_t>(typed.size());
}

}  // namespace vrk::lib
