// The stored form of macros: what a keystroke sender would take as a command is put in braces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrk::lib {

inline constexpr std::size_t kMacroLength = 64;

// The stored form of a typed macro: characters a keystroke sender treats as commands are put in
// braces. At most 64 characters are written, never half a protected character. Returns the count.
std::int16_t FilterMacro(std::string_view typed, std::string& stored);
// The length of the whole stored form of a typed macro, however long.
std::size_t StoredMacroLength(std::string_view typed);
// The typed text back from its stored form. Returns the count of characters written.
std::int16_t UnFilterMacro(std::string_view stored, std::string& typed);

}  // namespace vrk::lib
