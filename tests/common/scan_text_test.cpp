#include "common/scan_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Values as the two readers leave them; untouched outputs keep their sentinels.
struct Outputs {
    double d[5] = {-7.25, -7.25, -7.25, -7.25, -7.25};
    int i[3] = {-77, -77, -77};
    long long ll[3] = {-77, -77, -77};
    unsigned u[3] = {77, 77, 77};
    char word[256] = "sentinel";
    bool operator==(const Outputs& other) const {
        for (int k = 0; k < 5; ++k)
            if (std::memcmp(&d[k], &other.d[k], sizeof(double)) != 0) return false;
        for (int k = 0; k < 3; ++k)
            if (i[k] != other.i[k] || ll[k] != other.ll[k] || u[k] != other.u[k]) return false;
        return std::strcmp(word, other.word) == 0;
    }
};

// Runs one of the formats the project readers use through both, and compares.
void expect_same(const std::string& text) {
    SCOPED_TRACE("text: \"" + text + "\"");
    const char* t = text.c_str();
    Outputs a, b;
    EXPECT_EQ(scan_text(t, "%lf", &a.d[0]), std::sscanf(t, "%lf", &b.d[0]));
    EXPECT_EQ(scan_text(t, "%d", &a.i[0]), std::sscanf(t, "%d", &b.i[0]));
    EXPECT_EQ(scan_text(t, "%*d %lf %lf %d", &a.d[1], &a.d[2], &a.i[1]),
              std::sscanf(t, "%*d %lf %lf %d", &b.d[1], &b.d[2], &b.i[1]));
    EXPECT_EQ(scan_text(t, "%*d %lf %lf %lf", &a.d[2], &a.d[3], &a.d[4]),
              std::sscanf(t, "%*d %lf %lf %lf", &b.d[2], &b.d[3], &b.d[4]));
    EXPECT_EQ(scan_text(t, "%lf %lf %lf %lf", &a.d[0], &a.d[1], &a.d[3], &a.d[4]),
              std::sscanf(t, "%lf %lf %lf %lf", &b.d[0], &b.d[1], &b.d[3], &b.d[4]));
    EXPECT_EQ(scan_text(t, "%*s %lf", &a.d[3]), std::sscanf(t, "%*s %lf", &b.d[3]));
    EXPECT_EQ(scan_text(t, "%d %lf", &a.i[2], &a.d[4]), std::sscanf(t, "%d %lf", &b.i[2], &b.d[4]));
    EXPECT_EQ(scan_text(t, "%lf %lf %lld %lld %lld", &a.d[0], &a.d[1], &a.ll[0], &a.ll[1], &a.ll[2]),
              std::sscanf(t, "%lf %lf %lld %lld %lld", &b.d[0], &b.d[1], &b.ll[0], &b.ll[1], &b.ll[2]));
    EXPECT_EQ(scan_text(t, "%u %s", &a.u[0], a.word), std::sscanf(t, "%u %s", &b.u[0], b.word));
    EXPECT_TRUE(a == b);
}

}  // namespace

TEST(ScanText, AgreesWithSscanfOnTypicalAndOddLines) {
    for (const char* text :
         {"", "   ", "0", "12 34", "-0.5 2.25e3 7 90 1", "25400000 0 1 45 1", "1 2 3", "1e", "1ex 2", "1e+ 3", "1.5cm 2",
          "  -0.5e3, 4", "inf 1", "nan(12) 2", "0x1p3 5", ".5 .5", "5. 6.", "-.e1", "+7 +8", "1e5000 1", "00012 013",
          "99999999999 1", "-2147483649 2", "99999999999999999999 3", "-5 x", "1 2 3 4 5 6 7 8", "R1 0.8 1 2 0",
          "\t9\t8\t7", "1-2", "12abc", "3_4", "1.2.3", "4294967295 -1", "1e-400 2", "2.5e-310 1"})
        expect_same(text);
}

TEST(ScanText, AgreesWithSscanfOnRandomLines) {
    std::mt19937 random(42);
    const std::string alphabet = "0123456789012345678901234567890123456789 .-+eE\txnai_(";
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        size_t length = random() % 24;
        for (size_t k = 0; k < length; ++k) text.push_back(alphabet[random() % alphabet.size()]);
        expect_same(text);
        if (HasFailure()) return;
    }
}
