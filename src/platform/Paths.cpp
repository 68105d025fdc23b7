#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/CodePage.h"

namespace vrk {
namespace fs = std::filesystem;

std::string NativePath(std::string_view ansiPath) {
  std::string native = Utf8FromAnsi(ansiPath);
  std::error_code ec;
  const fs::path path(native);
  if (native.empty() || fs::exists(path, ec)) return native;
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string wanted = UpperAnsi(AnsiFromUtf8(path.filename().string()));
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    if (UpperAnsi(AnsiFromUtf8(it->path().filename().string())) == wanted) {
      return (path.has_parent_path() ? directory / it->path().filename() : it->path().filename()).string();
    }
  }
  return native;
}

std::string ExecutableDirectory() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
}

std::string ProgramDirectory(std::string_view executable) {
  if (const char* home = std::getenv("VRK_HOME"); home != nullptr && *home != '\0') {
    std::string directory(home);
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return AnsiFromUtf8(directory);
  }
  std::string directory = ExecutableDirectory();
  if (directory.empty()) {
    std::error_code ec;
    directory = fs::absolute(fs::path(std::string(executable)), ec).parent_path().string();
  }
  return AnsiFromUtf8(directory);
}

}  // namespace vrk
