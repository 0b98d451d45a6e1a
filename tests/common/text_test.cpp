#include "common/text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// Texts of every length around the two stack buffers come out whole, and print_to reports the
// length written (or -1 once the stream has failed).
TEST(FormattedText, EveryLengthComesOutWhole) {
    for (size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 510u, 511u, 512u, 513u, 5000u}) {
        const std::string word(length, 'x');
        const std::string expected = "<" + word + "|42>";
        EXPECT_EQ(format_text("<%s|%d>", word.c_str(), 42), expected) << length;
        std::ostringstream out;
        EXPECT_EQ(print_to(out, "<%s|%d>", word.c_str(), 42), static_cast<int>(expected.size())) << length;
        EXPECT_EQ(out.str(), expected) << length;
    }
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_EQ(print_to(failed, "%d", 7), -1);
}

TEST(FormattedText, CaseFoldingComparesLikeTheCLibrary) {
    EXPECT_EQ(compare_ignoring_case("R10", "r10"), 0);
    EXPECT_LT(compare_ignoring_case("R1", "r10"), 0);  // a prefix sorts first
    EXPECT_GT(compare_ignoring_case("Z", "_"), 0);     // folded to 'z', after '_'
    EXPECT_GT(compare_ignoring_case("\xe9", "z"), 0);  // bytes compare unsigned
    EXPECT_EQ(fold_case('Q'), 'q');
    EXPECT_EQ(fold_case('['), '[');
}
