#include "platform/Memory.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace vrk::sys {

void KeepFreedMemory(std::size_t bytes) {
#ifdef __GLIBC__
  // A refused setting (a value beyond what the allocator allows) leaves the allocator as it was.
  (void)mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes / 2));
  (void)mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes));
#else
  (void)bytes;
#endif
}

}  // namespace vrk::sys
