#pragma once
// Text made of many independent items (report rows), formatted by two threads side by
// side and written in item order: the output is byte for byte what one thread writing
// all the items would give.
#include <cstddef>
#include <functional>
#include <ostream>

/// Writes the text of items [begin, end) to the stream. It must write the same for a range
/// as for its pieces written one after another, read only what no one changes meanwhile,
/// and be safe to call from two threads at once.
using BlockWriter = std::function<void(std::ostream& out, size_t begin, size_t end)>;

/// Items per block of the parallel writing; fewer items than two blocks are written by
/// the calling thread alone.
constexpr size_t PARALLEL_BLOCK_ITEMS = 8192;

/// Writes items [0, count) to `out` through `write_items`, in blocks of `block_items`
/// items that the calling thread and a helper take in turns. An exception from
/// `write_items` in either thread ends the writing and is rethrown here.
void write_in_parallel_blocks(std::ostream& out, size_t count, const BlockWriter& write_items,
                              size_t block_items = PARALLEL_BLOCK_ITEMS);
