// Paths. A path is the file system's bytes (UTF-8 here) from end to end: it is never converted to
// code page 1252, so a directory named with any characters works. Only where a path is shown to the
// user does it become text of the program's code page (PathText).
#pragma once

#include <string>
#include <string_view>

namespace vrk {

// The path to open. When the named file does not exist but one whose name differs only in the letter
// case of A to Z does (catalogs copied from other systems), that one is used.
std::string NativePath(std::string_view path);

// A path as code page 1252 text for a message or a widget; characters 1252 lacks show as '?'.
std::string PathText(std::string_view path);

// Letters a to z in upper case, every other byte as it is: file names upper-cased without touching
// the bytes of characters beyond ASCII.
std::string UpperAscii(std::string_view text);

// What decides the program directory.
struct ProgramPlaces {
  std::string vrkHome = {};              // VRK_HOME, or empty
  std::string executableDirectory = {};  // where the running executable lies
  bool executableDirectoryWritable = false;
  std::string dataHome = {};  // XDG_DATA_HOME, or empty
  std::string home = {};      // HOME, or empty
};
// The places of this process. `executable` is argv[0], used when /proc/self/exe cannot be read.
ProgramPlaces CurrentPlaces(std::string_view executable);

// True when the program directory is the user's data folder.
bool IsUserDataFolder(const ProgramPlaces& places);

// The files of the program directory that every catalog shares, beside the report formats (NAME.FMT).
inline constexpr const char* kIniFileName = "VRK.INI";
inline constexpr const char* kSecurityFileName = "VANTLOCK.SET";

// The program directory, where VRK.INI, the report formats and the security file live: the directory
// VRK_HOME names; else the executable's own directory when it may be written (a copy unpacked or built
// in the user's folders); else, for an installed program, the user's data folder, $XDG_DATA_HOME/vrk
// or ~/.local/share/vrk, made when it is missing (the executable's directory when neither is known).
std::string ProgramDirectory(const ProgramPlaces& places);
// The program directory of this process.
inline std::string ProgramDirectory(std::string_view executable) { return ProgramDirectory(CurrentPlaces(executable)); }

// Directory of the running executable itself (no VRK_HOME); empty when unknown.
std::string ExecutableDirectory();

// Directory of the program's read-only data, such as the help pages: share/vrk beside the executable's
// directory. The build tree has it there (build/bin, build/share/vrk) and so has an installation
// (/usr/bin, /usr/share/vrk), wherever its tree was put. Empty when the executable's directory is unknown.
std::string SharedDataDirectory();

}  // namespace vrk
