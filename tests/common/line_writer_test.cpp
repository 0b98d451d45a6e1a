// LineWriter against snprintf: every piece must write exactly what its printf conversion writes,
// over millions of values of every size, halfway cases and the special values.
#include "common/line_writer.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string printed(const char* format, double value) {
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Values as a report meets them, and the ones that are hard to round: magnitudes from 1e-9 to
// 1e20, both signs, exact halfway cases of every precision, lengths converted from nanometres
// and scaled to millimetres and mils, and the special values.
std::vector<double> test_values(size_t random_count) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  1.5,
                                  2.5,
                                  0.125,
                                  0.375,
                                  -0.125,
                                  0.05,
                                  0.005,
                                  0.00005,
                                  0.000049999999999999996,
                                  1e-300,
                                  -1e-300,
                                  DBL_MIN,
                                  -DBL_MIN,
                                  std::numeric_limits<double>::denorm_min(),
                                  DBL_MAX,
                                  -DBL_MAX,
                                  1e20,
                                  123456789.98765,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN()};
    // Halfway cases and their nearest neighbours on both sides, small and large.
    for (int decimals = 0; decimals <= 4; ++decimals)
        for (long long k : {-2000LL, -1LL, 0LL, 1LL, 2000LL, 123456789LL, 999999999LL})
            for (long long step = 0; step < 2000; ++step) {
                const double halfway = (static_cast<double>(k + (k < 0 ? -step : step)) + 0.5) / std::pow(10.0, decimals);
                values.insert(values.end(), {halfway, std::nextafter(halfway, INFINITY), std::nextafter(halfway, -INFINITY)});
            }
    values.insert(values.end(), {999999999.99995, 999999999.99994999, 1e9, -1e9, 1e9 - 0.00005});
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> exponent(-9.0, 20.0);
    for (size_t i = 0; i < random_count; ++i) {
        switch (i % 4) {
            case 0:
                values.push_back(std::pow(10.0, exponent(random)) * (random() % 2 == 0 ? 1 : -1));
                break;
            case 1: {  // a position read in nanometres, printed in millimetres or mils
                double inches =
                    static_cast<double>(static_cast<long long>(random() % 1000000000) - 500000000) / 25400000.0;
                values.push_back(i % 8 == 1 ? inches * 25.4 : inches * 1000.0);
                break;
            }
            case 2:
                values.push_back(static_cast<double>(static_cast<long long>(random() % 2000000) - 1000000) / 10000.0);
                break;
            default: {  // any bit pattern that is a number
                double any = 0;
                uint64_t bits = random();
                std::memcpy(&any, &bits, sizeof any);
                values.push_back(any);
            }
        }
    }
    return values;
}

}  // namespace

TEST(LineWriter, FixedPointIsPrintfsForEveryValue) {
    struct Conversion {
        const char* format;
        int width, precision;
    };
    const Conversion conversions[] = {{"%7.4lf", 7, 4}, {"%7.2lf", 7, 2}, {"%1.2lf", 1, 2}, {"%1.0lf", 1, 0},
                                      {"%8.3lf", 8, 3}, {"%8.4lf", 8, 4}, {"%6.3lf", 6, 3}, {"%7.3lf", 7, 3}};
    const std::vector<double> values = test_values(400000);
    LineWriter writer;
    size_t compared = 0;
    for (const Conversion& conversion : conversions) {
        for (double value : values) {
            writer.clear();
            writer.fixed(value, conversion.width, conversion.precision);
            ASSERT_EQ(writer.text(), printed(conversion.format, value)) << conversion.format << " of " << value;
            ++compared;
        }
    }
    EXPECT_GT(compared, size_t{3000000});
}

TEST(LineWriter, IntegersTextsAndCharactersArePrintfs) {
    LineWriter writer;
    char expected[64];
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        long long value = static_cast<long long>(random() >> (random() % 64)) * (i % 2 == 0 ? 1 : -1);
        if (i % 3 == 0) value = static_cast<int>(value);
        for (int width : {0, 3, 4}) {
            writer.clear();
            writer.integer(value, width);
            std::snprintf(expected, sizeof expected, "%*lld", width, value);
            ASSERT_EQ(writer.text(), expected) << value;
        }
    }
    for (const char* text : {"", "R1", "R0805", "exactly8", "a much longer designator text", "twenty characters!!!"}) {
        char left[128], cut[128], cut_twenty[128];
        std::snprintf(left, sizeof left, "%-8s", text);
        std::snprintf(cut, sizeof cut, "%-16.16s", text);
        std::snprintf(cut_twenty, sizeof cut_twenty, "%-20.20s", text);
        writer.clear();
        EXPECT_EQ(writer.left(text, 8).text(), left);
        writer.clear();
        EXPECT_EQ(writer.left_cut(text, 16).text(), cut);
        writer.clear();
        EXPECT_EQ(writer.left_cut(text, 20).put('|').put("end").text(), std::string(cut_twenty) + "|end");
    }
}

TEST(LineWriter, CsvFieldsQuotedOnlyWhenTheyMustBe) {
    const std::pair<const char*, const char*> fields[] = {
        {"", ""},           {"R1", "R1"},         {"1k, 1%", "\"1k, 1%\""},          {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""}, {"a\nb", "\"a\nb\""}, {"cr\r", "\"cr\r\""}, {"C1, C2, \"C3\"", "\"C1, C2, \"\"C3\"\"\""}};
    LineWriter writer;
    for (const auto& [field, written] : fields) {
        writer.clear();
        EXPECT_EQ(writer.put('|').csv(field).put('|').text(), std::string("|") + written + "|") << field;
    }
}
