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

// Directory of the running program, or the directory named by VRK_HOME when it is set.
// `executable` is argv[0], used when /proc/self/exe cannot be read.
std::string ProgramDirectory(std::string_view executable);

// Directory of the running executable itself (no VRK_HOME); empty when unknown.
std::string ExecutableDirectory();

// Directory of the program's read-only data, such as the help pages: share/vrk beside the executable's
// directory. The build tree has it there (build/bin, build/share/vrk) and so has an installation
// (/usr/bin, /usr/share/vrk), wherever its tree was put. Empty when the executable's directory is unknown.
std::string SharedDataDirectory();

}  // namespace vrk
