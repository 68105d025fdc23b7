// How the C library's allocator gives memory back to the system.
#pragma once

#include <cstddef>

namespace vrk::sys {

// From now on the process keeps freed memory, up to `bytes` of it, for its next allocations, and takes
// blocks of up to half of that from it rather than from maps of their own: work that allocates and frees
// the same large buffers over and over then no longer has the system map them afresh, and fault in
// their pages, each time. A tuning only: where the C library offers none, nothing changes.
void KeepFreedMemory(std::size_t bytes);

}  // namespace vrk::sys
