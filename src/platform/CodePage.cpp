#include "platform/CodePage.h"

#include <array>
#include <cstdint>

namespace vrk {
namespace {

// Unicode of code page 437, characters 128 to 255.
constexpr std::array<char16_t, 128> kOemUpper = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Unicode of code page 1252, characters 128 to 159 (160 to 255 equal Latin-1). The five unassigned
// positions keep their own code, so that every byte comes back as it went.
constexpr std::array<char16_t, 32> kAnsiC1 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t AnsiToUnicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kAnsiC1[c - 0x80];
  return c;
}

// Base letters of Latin-1 192..255, for characters code page 437 lacks.
constexpr std::string_view kLatinBase = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";

struct Tables {
  std::array<unsigned char, 256> oemToAnsi{};
  std::array<unsigned char, 256> ansiToOem{};
  std::array<unsigned char, 256> upper{};
  Tables() {
    std::array<bool, 256> ansiMapped{};
    for (int c = 0; c < 256; ++c) {
      oemToAnsi[c] = static_cast<unsigned char>(c);
      ansiToOem[c] = static_cast<unsigned char>(c);
    }
    for (int o = 0x80; o < 0x100; ++o) {
      const char16_t u = kOemUpper[o - 0x80];
      int found = -1;
      for (int a = 0x80; a < 0x100 && found < 0; ++a) {
        if (AnsiToUnicode(static_cast<unsigned char>(a)) == u) found = a;
      }
      if (found >= 0) {
        oemToAnsi[o] = static_cast<unsigned char>(found);
        ansiToOem[found] = static_cast<unsigned char>(o);
        ansiMapped[found] = true;
      } else {
        oemToAnsi[o] = static_cast<unsigned char>(OemLookAlike(o));
      }
    }
    for (int a = 0x80; a < 0x100; ++a) {
      if (!ansiMapped[a]) ansiToOem[a] = static_cast<unsigned char>(AnsiLookAlike(a));
    }
    for (int c = 0; c < 256; ++c) upper[c] = static_cast<unsigned char>(UpperOf(c));
  }

  static char OemLookAlike(int o) {
    if (o == 0xB3 || o == 0xBA) return '|';
    if (o == 0xC4 || o == 0xCD) return '-';
    if (o >= 0xB4 && o <= 0xDA) return '+';
    return '?';
  }
  static char AnsiLookAlike(int a) {
    if (a >= 0xC0) return kLatinBase[a - 0xC0];
    switch (a) {
      case 0x8A: return 'S';
      case 0x8C: return 'O';
      case 0x8E: return 'Z';
      case 0x9A: return 's';
      case 0x9C: return 'o';
      case 0x9E: return 'z';
      case 0x9F: return 'Y';
      case 0x82:
      case 0x91:
      case 0x92: return '\'';
      case 0x84:
      case 0x93:
      case 0x94: return '"';
      case 0x8B: return '<';
      case 0x9B: return '>';
      case 0x96:
      case 0x97:
      case 0xAD: return '-';
      case 0xA9: return 'c';
      case 0xAE: return 'r';
      default: return '?';
    }
  }
  static int UpperOf(int c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
      case 0x9A: return 0x8A;
      case 0x9C: return 0x8C;
      case 0x9E: return 0x8E;
      case 0xFF: return 0x9F;
      default: return c;
    }
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

void Translate(char* text, std::size_t length, const std::array<unsigned char, 256>& table) {
  for (std::size_t i = 0; i < length; ++i) {
    text[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
  }
}

}  // namespace

void OemToCharBuff(char* text, std::size_t length) { Translate(text, length, tables().oemToAnsi); }
void CharToOemBuff(char* text, std::size_t length) { Translate(text, length, tables().ansiToOem); }

std::string OemToChar(std::string_view oem) {
  std::string out(oem);
  OemToCharBuff(out.data(), out.size());
  return out;
}

std::string CharToOem(std::string_view ansi) {
  std::string out(ansi);
  CharToOemBuff(out.data(), out.size());
  return out;
}

char UpperAnsi(char c) { return static_cast<char>(tables().upper[static_cast<unsigned char>(c)]); }

std::string UpperAnsi(std::string_view text) {
  std::string out(text);
  Translate(out.data(), out.size(), tables().upper);
  return out;
}

std::string Utf8FromAnsi(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (const char ch : ansi) {
    const char16_t u = AnsiToUnicode(static_cast<unsigned char>(ch));
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::string AnsiFromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::uint32_t code = 0;
    std::size_t extra = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07;
      extra = 3;
    } else {
      out += '?';
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k <= extra && i + k < utf8.size(); ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) break;
      code = (code << 6) | (next & 0x3F);
    }
    if (k <= extra) {  // truncated or broken sequence
      out += '?';
      i += k;
      continue;
    }
    i += extra + 1;
    char mapped = '?';
    if (code < 0x80 || (code >= 0xA0 && code < 0x100)) {
      mapped = static_cast<char>(code);
    } else {
      for (int a = 0x80; a < 0xA0; ++a) {
        if (kAnsiC1[a - 0x80] == code) mapped = static_cast<char>(a);
      }
    }
    out += mapped;
  }
  return out;
}

TextLoss MeasureTextLoss(std::string_view utf8, bool oem) {
  TextLoss loss;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string_view character = utf8.substr(i, length);
    i += character.size();
    const std::string ansi = AnsiFromUtf8(character);
    if (Utf8FromAnsi(ansi) == character && (!oem || OemToChar(CharToOem(ansi)) == ansi)) continue;
    if (loss.changed++ == 0) loss.first = character;
  }
  return loss;
}

}  // namespace vrk
