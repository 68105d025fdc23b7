#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

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

ProgramPlaces CurrentPlaces(std::string_view executable) {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  };
  ProgramPlaces places{.vrkHome = variable("VRK_HOME"),
                       .executableDirectory = ExecutableDirectory(),
                       .dataHome = variable("XDG_DATA_HOME"),
                       .home = variable("HOME")};
  if (places.executableDirectory.empty()) {
    std::error_code ec;
    places.executableDirectory = fs::absolute(fs::path(std::string(executable)), ec).parent_path().string();
  }
  places.executableDirectoryWritable = sys::MayWrite(places.executableDirectory);
  return places;
}

bool IsUserDataFolder(const ProgramPlaces& places) {
  return places.vrkHome.empty() && !places.executableDirectoryWritable &&
         ((!places.dataHome.empty() && places.dataHome.front() == '/') || !places.home.empty());
}

std::string ProgramDirectory(const ProgramPlaces& places) {
  const auto trimmed = [](std::string directory) {
    while (!directory.empty() && directory.back() == '/') directory.pop_back();
    return directory;
  };
  if (!places.vrkHome.empty()) {
    return places.vrkHome.find_first_not_of('/') == std::string::npos ? "/" : trimmed(places.vrkHome);
  }
  if (!IsUserDataFolder(places)) return places.executableDirectory;
  // An installed program's directory may not be written; the user's data folder stands in for it. A
  // relative XDG_DATA_HOME is invalid and ignored.
  const std::string folder = !places.dataHome.empty() && places.dataHome.front() == '/'
                                 ? trimmed(places.dataHome) + "/vrk"
                                 : trimmed(places.home) + "/.local/share/vrk";
  std::error_code ec;
  fs::create_directories(folder, ec);  // a folder that cannot be made fails at its first use, with its message
  return folder;
}

}  // namespace vrk
