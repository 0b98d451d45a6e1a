#include "common/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

uintptr_t round_up(uintptr_t value) { return (value + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1); }

}  // namespace

void* allocate_large(size_t bytes) {
    if (bytes > SIZE_MAX / 2) throw std::bad_alloc();
    // Map one huge page more than needed and cut the mapping down to an aligned block,
    // so that every huge page of the block lies wholly inside it.
    size_t rounded = round_up(bytes);
    size_t mapped = rounded + HUGE_PAGE;
    void* address = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) throw std::bad_alloc();
    uintptr_t start = reinterpret_cast<uintptr_t>(address);
    uintptr_t aligned = round_up(start);
    if (aligned > start) munmap(address, aligned - start);
    uintptr_t end = aligned + rounded;
    if (start + mapped > end) munmap(reinterpret_cast<void*>(end), start + mapped - end);
    madvise(reinterpret_cast<void*>(aligned), rounded, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void free_large(void* address, size_t bytes) {
    if (address != nullptr) munmap(address, round_up(bytes));
}

void discard_pages(const void* address, size_t size) {
    uintptr_t begin = round_up(reinterpret_cast<uintptr_t>(address));
    uintptr_t end = (reinterpret_cast<uintptr_t>(address) + size) & ~(HUGE_PAGE - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}
