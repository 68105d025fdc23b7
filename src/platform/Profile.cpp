#include "platform/Profile.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
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

// One line of the file, without its ending, which is kept: a file edited on another system may mix
// line feeds and carriage return line feeds, and each line is written back as it came.
struct Line {
  std::string text;
  std::string ending = "\n";
};

// The file that is read and written: where a link to it leads, so that writing it keeps the link.
std::string TargetOf(const std::string& iniPath) {
  const std::string native = NativePath(iniPath);
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::weakly_canonical(native, ec);
  return ec ? native : target.string();
}

// The lines of the file; none when it is missing or cannot be read.
std::vector<Line> ReadLines(const std::string& path) {
  std::vector<Line> lines;
  sys::FileHandle file;
  std::uint64_t size = 0;
  if (sys::OpenFile(sys::SystemFiles(), path, sys::Access::kRead, sys::Creation::kExisting, file) != 0 ||
      sys::FileSize(file, size) != 0) {
    return lines;
  }
  std::string bytes(size, '\0');
  std::size_t got = 0;
  if (sys::ReadAt(file, 0, bytes.data(), bytes.size(), got) != 0) return lines;
  bytes.resize(got);
  for (std::size_t from = 0; from < bytes.size();) {
    const std::size_t feed = bytes.find('\n', from);
    Line line;
    line.text = bytes.substr(from, feed == std::string::npos ? std::string::npos : feed - from);
    line.ending = feed == std::string::npos ? "" : "\n";
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.ending = "\r" + line.ending;
    }
    lines.push_back(std::move(line));
    from = feed == std::string::npos ? bytes.size() : feed + 1;
  }
  return lines;
}

std::optional<std::string> FindValue(std::string_view section, std::string_view key, const std::string& iniPath) {
  bool inSection = false;
  for (const Line& entry : ReadLines(TargetOf(iniPath))) {
    const std::string& line = entry.text;
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
  const std::string target = TargetOf(iniPath);
  std::vector<Line> lines = ReadLines(target);
  // A new line ends as the file's lines do.
  const std::string ending = lines.empty() ? "\n" : lines.front().ending.empty() ? "\n" : lines.front().ending;
  if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = ending;
  const Line entry{std::string(key) + "=" + std::string(value), ending};

  std::optional<std::size_t> sectionStart;
  std::size_t insertAt = lines.size();
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = SectionOf(lines[i].text)) {
      if (sectionStart) break;  // end of our section: the key was not in it
      if (SameName(*name, section)) {
        sectionStart = i;
        insertAt = i + 1;
      }
      continue;
    }
    if (!sectionStart) continue;
    const auto equals = lines[i].text.find('=');
    if (equals != std::string::npos && SameName(std::string_view(lines[i].text).substr(0, equals), key)) {
      lines[i].text = entry.text;
      done = true;
    } else if (!Trim(lines[i].text).empty()) {
      insertAt = i + 1;
    }
  }
  if (!done) {
    if (sectionStart) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
      lines.push_back({"[" + std::string(section) + "]", ending});
      lines.push_back(entry);
    }
  }

  // A new file beside the old one is renamed over it, so that a full disk never leaves half a file.
  std::string bytes;
  for (const Line& line : lines) bytes += line.text + line.ending;
  return sys::WriteWholeFile(sys::SystemFiles(), target, bytes) == 0;
}

}  // namespace vrk
