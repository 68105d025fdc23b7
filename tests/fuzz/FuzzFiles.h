// What the libFuzzer harnesses share: a scratch directory of the process's own, removed when it ends,
// and the input written there as a file.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vrk::fuzz {

inline const std::string& ScratchDirectory() {
  // Never destroyed: the removal at exit still reads it.
  static const std::string* const directory = [] {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vrk-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] { std::filesystem::remove_all(ScratchDirectory()); });
    return new std::string(path.string());
  }();
  return *directory;
}

// The file NAME of the scratch directory with exactly the bytes given.
inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchDirectory() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace vrk::fuzz
