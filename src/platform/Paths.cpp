#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/CodePage.h"

namespace vrk {
namespace fs = std::filesystem;

std::string NativePath(std::string_view path) {
  std::string native(path);
  std::error_code ec;
  const fs::path wanted(native);
  if (native.empty() || fs::exists(wanted, ec)) return native;
  const fs::path directory = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
  const std::string name = UpperAscii(wanted.filename().string());
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    if (UpperAscii(it->path().filename().string()) == name) {
      return (wanted.has_parent_path() ? directory / it->path().filename() : it->path().filename()).string();
    }
  }
  return native;
}

std::string PathText(std::string_view path) { return AnsiFromUtf8(path); }

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string ExecutableDirectory() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
}

std::string SharedDataDirectory() {
  const std::string executable = ExecutableDirectory();
  return executable.empty() ? std::string() : (fs::path(executable).parent_path() / "share" / "vrk").string();
}

std::string ProgramDirectory(std::string_view executable) {
  if (const char* home = std::getenv("VRK_HOME"); home != nullptr && *home != '\0') {
    std::string directory(home);
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
  }
  std::string directory = ExecutableDirectory();
  if (directory.empty()) {
    std::error_code ec;
    directory = fs::absolute(fs::path(std::string(executable)), ec).parent_path().string();
  }
  return directory;
}

}  // namespace vrk
