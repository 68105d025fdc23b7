// Paths. In memory a path is code page 1252 text like every other text of the program; the file
// system sees UTF-8. NativePath is the one place where a path crosses that boundary.
#pragma once

#include <string>
#include <string_view>

namespace vrk {

// The file-system form of a path. When the named file does not exist but one whose name differs only
// in letter case does (catalogs copied from other systems), that one is used.
std::string NativePath(std::string_view ansiPath);

// Directory of the running program, or the directory named by VRK_HOME when it is set.
// `executable` is argv[0] or /proc/self/exe's target; the result is in code page 1252.
std::string ProgramDirectory(std::string_view executable);

// Directory of the running executable itself (no VRK_HOME), in UTF-8; empty when unknown.
std::string ExecutableDirectory();

}  // namespace vrk
