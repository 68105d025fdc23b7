#include "platform/Libraries.h"

#include <dlfcn.h>

namespace vrk::sys {

void* LoadLibrary(const std::string& file, std::string& why) {
  void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = ::dlerror();
    why = error != nullptr ? error : "unknown error";
  }
  return library;
}

void* LibrarySymbol(void* library, const char* name) { return ::dlsym(library, name); }

}  // namespace vrk::sys
