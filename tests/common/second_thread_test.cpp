#include "common/second_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

TEST(SecondThread, BothPiecesRunAndEitherFailureComesBack) {
    std::atomic<int> done{0};
    run_beside([&] { done += 1; }, [&] { done += 10; });
    EXPECT_EQ(done.load(), 11);

    // A failure of either piece is rethrown once the other has finished too.
    done = 0;
    EXPECT_THROW(run_beside([] { throw std::runtime_error("helper"); }, [&] { done += 10; }), std::runtime_error);
    EXPECT_EQ(done.load(), 10);
    done = 0;
    EXPECT_THROW(run_beside([&] { done += 1; }, [] { throw std::logic_error("own"); }), std::logic_error);
    EXPECT_EQ(done.load(), 1);
}
