// Code page conversions. Catalog text lives in memory as code page 1252 (ANSI), one byte per
// character; the setup and entry files store it as code page 437 (OEM). Unicode only appears at the
// boundaries: the terminal, the widgets and the file system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

// Code page 437 to 1252; characters 1252 lacks become a look-alike or '?'.
std::string OemToChar(std::string_view oem);
// Code page 1252 to 437; characters 437 lacks become their base letter or '?'.
std::string CharToOem(std::string_view ansi);
// In-place forms for the entry file's hot path.
void OemToCharBuff(char* text, std::size_t length);
void CharToOemBuff(char* text, std::size_t length);

// Upper case in code page 1252 (accented letters included).
char UpperAnsi(char c);
std::string UpperAnsi(std::string_view text);

// UTF-8 <-> code page 1252. A character 1252 cannot hold becomes '?'; invalid UTF-8 bytes too.
std::string Utf8FromAnsi(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);

// What UTF-8 text loses on its way into code page 1252, and with `oem` on into code page 437 as the
// entry file stores it: how many characters would change, and the first of them (UTF-8).
struct TextLoss {
  int changed = 0;
  std::string first;
};
TextLoss MeasureTextLoss(std::string_view utf8, bool oem);

}  // namespace vrk
