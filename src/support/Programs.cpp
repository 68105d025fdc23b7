#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <vector>

#include "platform/Paths.h"
#include "support/Support.h"

extern char** environ;

namespace vrk::lib {

std::int16_t RunProgram(const std::string& commandLine) {
  std::vector<std::string> words;
  std::istringstream in(commandLine);
  for (std::string word; in >> word;) words.push_back(word);
  if (words.empty()) return -1;
  // A helper program ships beside this executable; look there before the PATH.
  const std::filesystem::path beside = std::filesystem::path(ExecutableDirectory()) / words[0];
  std::error_code ec;
  if (words[0].find('/') == std::string::npos && std::filesystem::exists(beside, ec)) words[0] = beside.string();

  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? static_cast<std::int16_t>(WEXITSTATUS(status)) : -1;
}

// Windows kept file associations in the registry that needed repair at start-up; this platform has
// nothing of the kind, so there is nothing to fix.
std::int16_t FixRegistry() { return 0; }

}  // namespace vrk::lib
