// Shared libraries loaded when they are first needed, so that a program that does not need them starts
// without loading them (and the libraries they need in turn).
#pragma once

#include <string>

namespace vrk::sys {

// Loads a library by its path or its soname and keeps it for the life of the process; nullptr, with
// the loader's words in `why`, when it cannot be loaded.
void* LoadLibrary(const std::string& file, std::string& why);
// The address of a symbol of a loaded library; nullptr when it has none of that name.
void* LibrarySymbol(void* library, const char* name);

}  // namespace vrk::sys
