#include "platform/MemoryAdvice.h"

#include <cstdint>

#include <sys/mman.h>

namespace quillet::platform {

void adviseLargeBuffer(void* begin, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    const uintptr_t first = (reinterpret_cast<uintptr_t>(begin) + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t last = (reinterpret_cast<uintptr_t>(begin) + bytes) & ~(kHuge - 1);
    if (begin != nullptr && last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)begin;
    (void)bytes;
#endif
}

}  // namespace quillet::platform
