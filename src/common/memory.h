#pragma once
// Memory for the large tables of a run. On virtual machines the first touch of each
// small page costs microseconds, which for tables of tens of megabytes outweighs the
// work done in them; blocks from a quarter megabyte up are therefore mapped directly,
// aligned to 2 MiB and advised to use huge pages, and handed back to the system when freed.
#include <cstddef>
#include <new>

/// The size and alignment of a huge page; large blocks start on one.
constexpr size_t HUGE_PAGE = size_t{1} << 21;

/// Requests of at least this many bytes are served by allocate_large.
constexpr size_t LARGE_BLOCK = size_t{1} << 18;

/// A block of `bytes` bytes aligned to 2 MiB, backed by huge pages where the kernel can;
/// throws std::bad_alloc when the system has no room.
void* allocate_large(size_t bytes);

/// Returns a block from allocate_large of the same size.
void free_large(void* address, size_t bytes);

/// Gives the whole huge pages inside [address, address + size) of a block from allocate_large
/// back to the system; they read as zeros afterwards.
void discard_pages(const void* address, size_t size);

/// Allocator for standard containers that grow large: small blocks from operator new,
/// large ones from allocate_large.
template <typename T>
struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}

    T* allocate(size_t count) {
        if (count > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        size_t bytes = count * sizeof(T);
        return static_cast<T*>(bytes >= LARGE_BLOCK ? allocate_large(bytes) : ::operator new(bytes));
    }
    void deallocate(T* address, size_t count) noexcept {
        size_t bytes = count * sizeof(T);
        if (bytes >= LARGE_BLOCK)
            free_large(address, bytes);
        else
            ::operator delete(address);
    }
    template <typename U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};
