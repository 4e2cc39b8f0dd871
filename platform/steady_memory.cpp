#include "platform/steady_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorbel {

void KeepResidentMemorySteady() {
#if defined(__GLIBC__)
    constexpr int kLargeBlock = 128 * 1024;  // glibc's own starting value, kept fixed
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    mallopt(M_TRIM_THRESHOLD, kLargeBlock);
#endif
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace quorbel
