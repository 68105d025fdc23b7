#include "platform/SystemInfo.h"

#include <sys/utsname.h>

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vrk {
namespace {

std::string ReadWholeFile(const char* path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The value of the first "key : value" line of a /proc file whose key is `key`.
std::string ProcValue(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (name != key) continue;
    const auto start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return {};
}

// 16303424 -> "16,303,424"
std::string WithThousands(unsigned long long value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

}  // namespace

std::string VersionLine(const std::string& systemName, const std::string& release) {
  std::size_t end = 0;
  int dots = 0;
  while (end < release.size() && (std::isdigit(static_cast<unsigned char>(release[end])) || release[end] == '.')) {
    if (release[end] == '.' && ++dots == 2) break;
    ++end;
  }
  return systemName + " v" + release.substr(0, end);
}

std::string ProcessorLine(const std::string& cpuinfo, const std::string& machine) {
  const std::string model = ProcValue(cpuinfo, "model name");
  return model.empty() ? machine : model;
}

std::string MemoryLine(const std::string& meminfo) {
  const std::string total = ProcValue(meminfo, "MemTotal");  // "16303424 kB"
  unsigned long long kilobytes = 0;
  const auto [end, error] = std::from_chars(total.data(), total.data() + total.size(), kilobytes);
  if (error != std::errc() || end == total.data()) return {};
  return WithThousands(kilobytes) + "K";
}

SystemInfo ReadSystemInfo() {
  utsname names{};
  const bool known = ::uname(&names) == 0;
  return {.version = known ? VersionLine(names.sysname, names.release) : std::string(),
          .processor = ProcessorLine(ReadWholeFile("/proc/cpuinfo"), known ? names.machine : ""),
          .memory = MemoryLine(ReadWholeFile("/proc/meminfo"))};
}

}  // namespace vrk
