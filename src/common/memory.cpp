#include "common/memory.h"

#include <sys/mman.h>

#include <cstdint>

void advise_huge_pages(const void* address, size_t size) {
    constexpr uintptr_t HUGE_PAGE = uintptr_t{1} << 21;
    uintptr_t begin = (reinterpret_cast<uintptr_t>(address) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    uintptr_t end = (reinterpret_cast<uintptr_t>(address) + size) & ~(HUGE_PAGE - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
