#include "csv/CsvEncoding.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace vrk {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The character at `i` of UTF-8 text, `i` moved past it; kReplacement for bytes that are none.
std::uint32_t NextCharacter(std::string_view utf8, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(utf8[i++]);
  if (lead < 0x80) return lead;
  const std::size_t extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (extra == 0 || lead >= 0xF8) return kReplacement;
  std::uint32_t code = lead & (0x3F >> extra);
  for (std::size_t k = 0; k < extra; ++k, ++i) {
    if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) return kReplacement;
    code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
  }
  return code;
}

void AppendUtf16(std::string& out, std::uint32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return lower;
}

}  // namespace

std::optional<CsvEncoding> CsvEncodingNamed(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "utf-8" || lower == "utf8") return CsvEncoding::kUtf8;
  if (lower == "cp1252" || lower == "windows-1252" || lower == "1252") return CsvEncoding::kCp1252;
  if (lower == "latin1" || lower == "latin-1" || lower == "iso-8859-1") return CsvEncoding::kLatin1;
  if (lower == "utf-16" || lower == "utf16") return CsvEncoding::kUtf16;
  return std::nullopt;
}

std::string CsvEncodingText(CsvEncoding encoding) {
  switch (encoding) {
    case CsvEncoding::kUtf8: return "UTF-8";
    case CsvEncoding::kCp1252: return "code page 1252";
    case CsvEncoding::kLatin1: return "Latin-1";
    case CsvEncoding::kUtf16: return "UTF-16";
  }
  return {};
}

std::string CsvDecoder::Decode(std::string_view bytes) {
  std::string text = carry_ + std::string(bytes);
  carry_.clear();
  std::string_view rest = text;
  if (!started_) {
    started_ = true;
    if (rest.starts_with("\xFF\xFE") || rest.starts_with("\xFE\xFF")) {
      encoding_ = CsvEncoding::kUtf16;
      bigEndian_ = rest.front() == '\xFE';
      rest.remove_prefix(2);
    } else if (encoding_ != CsvEncoding::kUtf16 && rest.starts_with(kUtf8Mark)) {
      rest.remove_prefix(kUtf8Mark.size());
    }
  }
  std::string out;
  switch (encoding_) {
    case CsvEncoding::kUtf8: return std::string(rest);
    case CsvEncoding::kCp1252: return Utf8FromAnsi(rest);
    case CsvEncoding::kLatin1:
      for (const char c : rest) AppendUtf8(out, static_cast<unsigned char>(c));
      return out;
    case CsvEncoding::kUtf16: break;
  }
  out.reserve(rest.size());
  std::size_t i = 0;
  for (; i + 1 < rest.size(); i += 2) {
    const auto first = static_cast<unsigned char>(rest[i]), second = static_cast<unsigned char>(rest[i + 1]);
    const std::uint32_t unit = bigEndian_ ? (first << 8) | second : (second << 8) | first;
    if (highSurrogate_ != 0) {
      const bool low = unit >= 0xDC00 && unit < 0xE000;
      AppendUtf8(out, low ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00) : kReplacement);
      highSurrogate_ = 0;
      if (low) continue;
    }
    if (unit >= 0xD800 && unit < 0xDC00) {
      highSurrogate_ = unit;
    } else {
      AppendUtf8(out, unit >= 0xDC00 && unit < 0xE000 ? kReplacement : unit);
    }
  }
  carry_ = std::string(rest.substr(i));
  return out;
}

std::string CsvEncode(std::string_view utf8, CsvEncoding encoding, long& unheld) {
  if (encoding == CsvEncoding::kUtf8) return std::string(utf8);
  if (encoding == CsvEncoding::kCp1252) {
    std::string ansi = AnsiFromUtf8(utf8);
    unheld += std::count(ansi.begin(), ansi.end(), '?') - std::count(utf8.begin(), utf8.end(), '?');
    return ansi;
  }
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t i = 0; i < utf8.size();) {
    std::uint32_t code = NextCharacter(utf8, i);
    if (encoding == CsvEncoding::kLatin1) {
      if (code > 0xFF || (code >= 0x80 && code < 0xA0)) {
        code = '?';
        ++unheld;
      }
      out += static_cast<char>(code);
    } else if (code < 0x10000) {
      AppendUtf16(out, code);
    } else {
      AppendUtf16(out, 0xD800 + ((code - 0x10000) >> 10));
      AppendUtf16(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string CsvFileStart(CsvEncoding encoding, bool utf8ByteOrderMark) {
  if (encoding == CsvEncoding::kUtf16) return "\xFF\xFE";
  return encoding == CsvEncoding::kUtf8 && utf8ByteOrderMark ? std::string(kUtf8Mark) : "";
}

}  // namespace vrk
