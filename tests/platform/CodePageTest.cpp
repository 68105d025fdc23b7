#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace vrk {
namespace {

TEST(CodePage, SharedCharactersSurviveTheRoundTrip) {
  int shared = 0;
  for (int c = 0; c < 256; ++c) {
    const std::string oem(1, static_cast<char>(c));
    const std::string ansi = OemToChar(oem);
    if (ansi == "?" && c != '?') continue;  // 437 has no 1252 counterpart for this one
    if (CharToOem(ansi) == oem) ++shared;
  }
  // ASCII plus the 54 letters and signs of 437's upper half that code page 1252 also has.
  EXPECT_EQ(shared, 128 + 54);
  for (int c = 0; c < 128; ++c) {
    const std::string ascii(1, static_cast<char>(c));
    EXPECT_EQ(OemToChar(ascii), ascii);
    EXPECT_EQ(CharToOem(ascii), ascii);
  }
}

TEST(CodePage, KnownLettersMapBothWays) {
  // é ü Ç ñ £ ½ in code page 1252 and 437.
  EXPECT_EQ(CharToOem("\xE9\xFC\xC7\xF1\xA3\xBD"), "\x82\x81\x80\xA4\x9C\xAB");
  EXPECT_EQ(OemToChar("\x82\x81\x80\xA4\x9C\xAB"), "\xE9\xFC\xC7\xF1\xA3\xBD");
}

TEST(CodePage, MissingCharactersBecomeLookAlikes) {
  EXPECT_EQ(CharToOem("\xC0\xE3\xD5"), "AaO");  // À ã Õ are not in 437
  EXPECT_EQ(OemToChar("\xC4\xB3\xC5"), "-|+");  // box drawing
  EXPECT_EQ(OemToChar("\xE0"), "?");            // Greek alpha
}

TEST(CodePage, UpperCaseCoversAccentedLetters) {
  EXPECT_EQ(UpperAnsi("lo \xE9t\xE9 \xFF\x9A"), "LO \xC9T\xC9 \x9F\x8A");
  EXPECT_EQ(UpperAnsi("\xF7\xDF"), "\xF7\xDF");  // ÷ and ß have no capital
}

TEST(CodePage, Utf8ConversionRoundTripsAndReplacesTheUnknown) {
  const std::string ansi = "Caf\xE9 \x80 \x93quoted\x94";
  const std::string utf8 = Utf8FromAnsi(ansi);
  EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(AnsiFromUtf8(utf8), ansi);
  EXPECT_EQ(AnsiFromUtf8("\xE4\xB8\xAD x"), "? x");  // a CJK character
  EXPECT_EQ(AnsiFromUtf8("a\xC3"), "a?");            // truncated sequence
  EXPECT_EQ(AnsiFromUtf8("\xFF"
                         "b"),
            "?b");  // invalid lead byte
}

}  // namespace
}  // namespace vrk
