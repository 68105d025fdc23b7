// What the About window tells about the machine: the operating system and its version, the processor
// and the memory, read from uname, /proc/cpuinfo and /proc/meminfo.
#pragma once

#include <string>

namespace vrk {

struct SystemInfo {
  std::string version;    // "Linux v6.1"
  std::string processor;  // "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz", or the machine type
  std::string memory;     // "16,303,424K"
};

SystemInfo ReadSystemInfo();

// "Linux v6.1" from the system name and a release such as "6.1.0-18-amd64".
std::string VersionLine(const std::string& systemName, const std::string& release);
// The first "model name" of /proc/cpuinfo, else `machine` (uname's machine type).
std::string ProcessorLine(const std::string& cpuinfo, const std::string& machine);
// MemTotal of /proc/meminfo in K with thousands separators ("16,303,424K"); empty when it is missing.
std::string MemoryLine(const std::string& meminfo);

}  // namespace vrk
