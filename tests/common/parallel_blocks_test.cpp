#include "common/parallel_blocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

// Items of different lengths, some writing nothing, so that block boundaries show.
void write_numbers(std::ostream& out, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (i % 7 == 3) continue;
        out << i << (i % 5 == 0 ? ",\n" : ",");
    }
}

std::string sequential(size_t count) {
    std::ostringstream out;
    write_numbers(out, 0, count);
    return out.str();
}

std::string in_blocks(size_t count, size_t block_items) {
    std::ostringstream out;
    write_in_parallel_blocks(out, count, write_numbers, block_items);
    return out.str();
}

}  // namespace

TEST(ParallelBlocks, WritesWhatOneThreadWouldForAnyCountAndBlockSize) {
    for (size_t count : {0u, 1u, 2u, 9u, 10u, 11u, 100u, 1001u, 25000u}) {
        for (size_t block_items : {0u, 1u, 2u, 3u, 10u, 64u, 8192u}) {
            if (count > 1001 && block_items < 10) continue;  // thousands of hand-overs prove nothing more
            SCOPED_TRACE("count " + std::to_string(count) + ", block " + std::to_string(block_items));
            EXPECT_EQ(in_blocks(count, block_items), sequential(count));
        }
    }
}

TEST(ParallelBlocks, SlowBlocksOnEitherSideKeepTheOrder) {
    // The helper's blocks (odd ones) or the caller's finish late in turn; the text stays in order.
    for (size_t slow_parity : {0u, 1u}) {
        std::ostringstream out;
        write_in_parallel_blocks(
            out, 60,
            [&](std::ostream& block, size_t begin, size_t end) {
                if (begin / 4 % 2 == slow_parity) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                write_numbers(block, begin, end);
            },
            4);
        EXPECT_EQ(out.str(), sequential(60));
    }
}

TEST(ParallelBlocks, AFailureInEitherThreadIsRethrownAndEndsTheWriting) {
    for (size_t failing_block : {0u, 1u, 6u, 7u}) {
        SCOPED_TRACE("failing block " + std::to_string(failing_block));
        std::atomic<size_t> calls_after_failure{0};
        std::atomic<bool> failed{false};
        std::ostringstream out;
        auto writer = [&](std::ostream& block, size_t begin, size_t end) {
            if (failed) ++calls_after_failure;
            if (begin / 10 == failing_block) {
                failed = true;
                throw std::runtime_error("block failed");
            }
            write_numbers(block, begin, end);
        };
        EXPECT_THROW(write_in_parallel_blocks(out, 100000, writer, 10), std::runtime_error);
        // The other thread may finish what it had begun, but the writing does not go on.
        EXPECT_LE(calls_after_failure.load(), 3u);
        // What was written is exactly the text before the failing block.
        EXPECT_EQ(out.str(), sequential(10 * failing_block));
    }
}
