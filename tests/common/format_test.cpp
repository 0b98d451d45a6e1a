#include "common/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string by_snprintf(const char* format, double value) {
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

TEST(FormatText, FixedPointAgreesWithPrintfEverywhere) {
    std::mt19937_64 random(7);
    const char* formats[] = {"%7.4lf", "%7.2lf", "%8.3lf", "%1.0lf", "%.5lf", "%4lf", "%6.3lf", "%1.2lf", "%.9f"};
    std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 2.675, 1e-300, -1e-300, 4503599627370495.5,
                                  4503599627370496.0, 1e17, -1e300, 0.00005, 0.000049999999, 999.99995, 38.1, 57.15,
                                  std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()};
    for (int k = 0; k < 60000; ++k) {
        uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        values.push_back(value);
        // Values on a millimetre and mil grid, where ties and near-ties are common.
        values.push_back(static_cast<double>(static_cast<int64_t>(random() % 2000000) - 1000000) / 2540.0);
        values.push_back(static_cast<double>(static_cast<int64_t>(random() % 200000) - 100000) / 8.0);
    }
    for (double value : values) {
        for (const char* format : formats) {
            ASSERT_EQ(format_text(format, value), by_snprintf(format, value)) << format << " " << value;
        }
    }
}

TEST(FormatText, StringsIntegersAndCharacters) {
    EXPECT_EQ(format_text("%-8s|%-20.20s|%3d|%-1lld|%c|%4d%c|%%|%u", "R1", "a very long footprint name", 7, -42LL, 'L',
                          12, '*', 4000000000u),
              "R1      |a very long footprin|  7|-42|L|  12*|%|4000000000");
    EXPECT_EQ(format_text("%-*.*s|%*.*s", 5, 5, "abcdefgh", 6, 3, "xyz123"), "abcde|   xyz");
    EXPECT_EQ(format_text("%05d|%+d|% d|%x|%e", 42, 5, 6, 255, 1.5), "00042|+5| 6|ff|1.500000e+00");
    EXPECT_EQ(format_text("%.3lf|%lf", std::nan(""), -INFINITY), "nan|-inf");
    std::ostringstream out;
    EXPECT_EQ(print_to(out, "%s-%d", std::string(3000, 'x').c_str(), 5), 3002);
    EXPECT_EQ(out.str(), std::string(3000, 'x') + "-5");
}

TEST(PreparedFormat, WritesWhatTheFormatItselfWrites) {
    // Literal text around conversions, "%%", star widths, flags that go to snprintf, a
    // trailing lone '%' and formats without any conversion.
    auto check = [&](const char* format, std::string expected, auto... values) {
        std::ostringstream one;
        const PreparedFormat prepared(format);
        EXPECT_EQ(print_to(one, &prepared, values...), static_cast<int>(expected.size())) << format;
        EXPECT_EQ(one.str(), expected) << format;
    };
    check("\n%-8s  ", format_text("\n%-8s  ", "R12"), "R12");
    check("%-20.20s  %-6s  %7.4lf %c%7.4lf  %3d", format_text("%-20.20s  %-6s  %7.4lf %c%7.4lf  %3d", "FP", "Top", 1.23456, 'L', -0.00005, 270),
          "FP", "Top", 1.23456, 'L', -0.00005, 270);
    check("100%% of %d%%", "100% of 7%", 7);
    check("%%%%", "%%");
    check("no conversion", "no conversion");
    check("", "");
    check("%-*.*s|%*d", "ab   |  -4", 5, 2, "abcdef", 4, -4);
    check("%05d|%+.2f|%x|%e", format_text("%05d|%+.2f|%x|%e", 42, 2.5, 255, 1.5), 42, 2.5, 255, 1.5);
    check("end %", "end %");
    check("%5", "%5");
    check("%lld|%u|%c", "-9000000000|4000000000|x", -9000000000LL, 4000000000u, 'x');
}

TEST(TextOutput, KeepsOrderAcrossItsBufferAndLongPieces) {
    std::ostringstream stream;
    std::string expected;
    {
        TextOutput out(stream);
        const PreparedFormat row("%6d %-10s|");
        for (int i = 0; i < 5000; ++i) {
            out.print(&row, i, "row");
            expected += format_text("%6d %-10s|", i, "row");
            if (i % 1000 == 0) {
                // Pieces longer than the buffer go straight through, after what was buffered.
                std::string long_piece(100000, static_cast<char>('a' + i / 1000));
                out.print("%s", long_piece.c_str());
                out.write(long_piece);
                expected += long_piece + long_piece;
            }
        }
        out.write("\n\n");
        expected += "\n\n";
        EXPECT_LT(stream.str().size(), expected.size());  // some text still waits in the buffer
    }
    EXPECT_EQ(stream.str(), expected);
}
