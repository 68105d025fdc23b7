#include "platform/Profile.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) { return UpperAnsi(Trim(a)) == UpperAnsi(Trim(b)); }

// Section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

std::vector<std::string> ReadLines(const std::string& iniPath, bool& crlf) {
  std::vector<std::string> lines;
  std::ifstream in(NativePath(iniPath), std::ios::binary);
  std::string line;
  crlf = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      crlf = true;
      line.pop_back();
    }
    lines.push_back(line);
  }
  return lines;
}

std::optional<std::string> FindValue(std::string_view section, std::string_view key, const std::string& iniPath) {
  bool crlf = false;
  bool inSection = false;
  for (const std::string& line : ReadLines(iniPath, crlf)) {
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    const auto equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    if (SameName(std::string_view(line).substr(0, equals), key)) {
      std::string_view value = Trim(std::string_view(line).substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
      }
      return std::string(value);
    }
  }
  return std::nullopt;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& iniPath) {
  return FindValue(section, key, iniPath).value_or(std::string(defaultValue));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue, const std::string& iniPath) {
  const auto value = FindValue(section, key, iniPath);
  if (!value) return defaultValue;
  std::size_t i = 0;
  const bool negative = !value->empty() && (*value)[0] == '-';
  if (negative || (!value->empty() && (*value)[0] == '+')) ++i;
  long number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
    number = number * 10 + ((*value)[i] - '0');
    if (number > 2147483647L) break;
  }
  return static_cast<int>(negative ? -number : number);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& iniPath) {
  bool crlf = false;
  std::vector<std::string> lines = ReadLines(iniPath, crlf);
  const std::string entry = std::string(key) + "=" + std::string(value);

  std::optional<std::size_t> sectionStart;
  std::size_t insertAt = lines.size();
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = SectionOf(lines[i])) {
      if (sectionStart) break;  // end of our section: the key was not in it
      if (SameName(*name, section)) {
        sectionStart = i;
        insertAt = i + 1;
      }
      continue;
    }
    if (!sectionStart) continue;
    const auto equals = lines[i].find('=');
    if (equals != std::string::npos && SameName(std::string_view(lines[i]).substr(0, equals), key)) {
      lines[i] = entry;
      done = true;
    } else if (!Trim(lines[i]).empty()) {
      insertAt = i + 1;
    }
  }
  if (!done) {
    if (sectionStart) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(entry);
    }
  }

  // Write a new file beside the old one and rename it over, so that a full disk never leaves half a file.
  const std::string native = NativePath(iniPath);
  const std::string temporary = native + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << (crlf ? "\r\n" : "\n");
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  return std::rename(temporary.c_str(), native.c_str()) == 0;
}

}  // namespace vrk
