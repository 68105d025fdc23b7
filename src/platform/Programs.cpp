#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Programs.h"

extern char** environ;

namespace vrk::sys {
namespace {

// Reads what the program writes until it closes its end of the pipe.
void Gather(int descriptor, std::string& output) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
    if (n > 0) {
      output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return;
    }
  }
}

}  // namespace

std::int16_t RunProgram(std::vector<std::string> arguments, std::string* output) {
  if (arguments.empty()) return -1;
  // A helper program ships beside this executable; look there before the PATH.
  const std::string directory = ExecutableDirectory();
  const std::string beside = directory.empty() ? arguments[0] : directory + "/" + arguments[0];
  if (arguments[0].find('/') == std::string::npos && StatusOfPath(beside).kind != PathKind::kMissing) {
    arguments[0] = beside;
  }

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& word : arguments) argv.push_back(word.data());
  argv.push_back(nullptr);
  int pipe[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output != nullptr) {
    if (::pipe2(pipe, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
  }
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (output != nullptr) {
    ::close(pipe[1]);
    if (spawned == 0) Gather(pipe[0], *output);
    ::close(pipe[0]);
  }
  if (spawned != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? static_cast<std::int16_t>(WEXITSTATUS(status)) : -1;
}

}  // namespace vrk::sys
