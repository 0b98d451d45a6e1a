#pragma once
#include <cstddef>

/// Asks the kernel to back the 2 MiB-aligned interior of [address, address + size) with
/// huge pages when it is first touched. Large tables fill many times faster that way,
/// because first touches of small pages dominate their cost. Only advice: nothing
/// changes when the kernel declines.
void advise_huge_pages(const void* address, size_t size);
