#include <gtest/gtest.h>

#include <random>

#include "platform/CodePage.h"
#include "platform/Programs.h"
#include "support/Macros.h"
#include "support/MediaNames.h"
#include "support/Substrings.h"

namespace vrk::lib {
namespace {

TEST(IsSubstr, CaseFlag) {
  EXPECT_EQ(IsSubstr("lo", "Hello", kCaseMustAgree), -1);
  EXPECT_EQ(IsSubstr("LO", "Hello", kCaseMustAgree), 0);
  EXPECT_EQ(IsSubstr("LO", "Hello", kCaseIgnored), -1);
  EXPECT_EQ(IsSubstr("\xC9t\xC9", "l'\xE9t\xE9", kCaseIgnored), -1);  // ÉTÉ in "l'été"
  EXPECT_EQ(IsSubstr("", "anything", kCaseIgnored), -1);
  EXPECT_EQ(IsSubstr("longer", "long", kCaseIgnored), 0);
}

// Every place of long and short texts, the whole code page, letter case ignored: as a plain search of
// the upper-cased texts finds it.
TEST(IsSubstr, IgnoringCaseAgreesWithAPlainSearch) {
  for (int c = 1; c < 256; ++c) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
      const std::string searched = "---" + std::string(1, static_cast<char>(c)) + std::string(20, '-');
      EXPECT_EQ(IsSubstr(std::string(1, letter), searched, kCaseIgnored) != 0,
                UpperAnsi(static_cast<char>(c)) == UpperAnsi(letter))
          << c;
    }
  }
  std::mt19937 random(5);
  const std::string alphabet = "aAbBeE\xE9\xC9\xFF\x9F\x8A\x9A 1";
  for (int round = 0; round < 3000; ++round) {
    std::string searched, sought;
    for (int i = std::uniform_int_distribution<int>(0, 70)(random); i > 0; --i) {
      searched += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    for (int i = std::uniform_int_distribution<int>(1, 3)(random); i > 0; --i) {
      searched.empty() || round % 2
          ? sought += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random))
          : sought += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    const bool found = UpperAnsi(searched).find(UpperAnsi(sought)) != std::string::npos;
    EXPECT_EQ(IsSubstr(sought, searched, kCaseIgnored), found ? -1 : 0) << searched << " / " << sought;
  }
}

TEST(ReplaceSubstr, ReplacesEveryOccurrence) {
  std::string buffer = "the cat and the hat";
  EXPECT_EQ(ReplaceSubstr("the", "a", buffer, kCaseMustAgree), 15);
  EXPECT_EQ(buffer, "a cat and a hat");
  buffer = "The end, the END";
  EXPECT_EQ(ReplaceSubstr("the", "THE", buffer, kCaseIgnored), 16);
  EXPECT_EQ(buffer, "THE end, THE END");
  buffer = "aaa";
  EXPECT_EQ(ReplaceSubstr("a", "aa", buffer, kCaseMustAgree), 6);  // no endless loop on its own output
}

TEST(ReplaceSubstr, NotFoundLeavesTheBuffer) {
  std::string buffer = "abc";
  EXPECT_EQ(ReplaceSubstr("x", "y", buffer, kCaseMustAgree), 0);
  EXPECT_EQ(ReplaceSubstr("", "y", buffer, kCaseMustAgree), 0);
  EXPECT_EQ(ReplaceSubstr("ABC", "y", buffer, kCaseMustAgree), 0);
  EXPECT_EQ(buffer, "abc");
}

TEST(ReplaceSubstr, GrowsByAtMost255Characters) {
  std::string buffer = "xxxx";
  EXPECT_EQ(ReplaceSubstr("x", std::string(100, 'y'), buffer, kCaseMustAgree), 4 + 255);
  EXPECT_EQ(buffer, std::string(259, 'y'));
}

TEST(Macros, RoundTripProtectsCommandCharacters) {
  std::string stored, typed;
  EXPECT_EQ(FilterMacro("1+1 = {2} ~100%", stored), 25);
  EXPECT_EQ(stored, "1{+}1 = {{}2{}} {~}100{%}");
  EXPECT_EQ(UnFilterMacro(stored, typed), 15);
  EXPECT_EQ(typed, "1+1 = {2} ~100%");
}

TEST(Macros, StoredFormNeverExceeds64Characters) {
  std::string stored, typed;
  const std::string plain(64, 'a');
  EXPECT_EQ(FilterMacro(plain, stored), 64);
  UnFilterMacro(stored, typed);
  EXPECT_EQ(typed, plain);
  // 22 plus signs need 66 characters: only whole protected characters are kept.
  EXPECT_EQ(FilterMacro(std::string(22, '+'), stored), 63);
  UnFilterMacro(stored, typed);
  EXPECT_EQ(typed, std::string(21, '+'));
}

TEST(MediaNames, SplitField21) {
  std::string path;
  EXPECT_EQ(GetWAVName("song.wav\x01pic.bmp   ", path), 0);
  EXPECT_EQ(path, "song.wav");
  EXPECT_EQ(GetBMPName("song.wav\x01pic.bmp   ", path), 0);
  EXPECT_EQ(path, "pic.bmp");
  EXPECT_NE(GetWAVName("\x01pic.bmp", path), 0);
  EXPECT_NE(GetBMPName("\x01     ", path), 0);
  EXPECT_NE(GetBMPName("", path), 0);
  EXPECT_NE(GetWAVName("no separator", path), 0);
}

TEST(RunProgram, WaitsAndReportsTheExitStatus) {
  EXPECT_EQ(sys::RunProgram({"true"}), 0);
  EXPECT_EQ(sys::RunProgram({"false"}), 1);
  EXPECT_EQ(sys::RunProgram({"no-such-program-anywhere"}), -1);
}

}  // namespace
}  // namespace vrk::lib
