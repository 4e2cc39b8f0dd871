#include "platform/steady_memory.h"

#include <cstddef>  // defines __GLIBC__, which the checks below need

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorbel {

void KeepResidentMemorySteady() {
#if defined(__GLIBC__)
    constexpr int kLargeBlock = 128 * 1024;  // glibc's own starting value, kept fixed
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    // The software renderer takes tens of megabytes of small blocks for a
    // busy frame and gives them back at its end; trimmed each time, the heap
    // would be grown again page by page (thousands of page faults a frame,
    // half the heavy scene's time). Kept, it stays at the frame's peak.
    constexpr int kKeptHeapTop = 256 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeptHeapTop);
#endif
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace quorbel
