// scan_numbers against std::sscanf itself, on every format the readers use: the same result
// and the same values, bit for bit, whatever the line holds.
#include "common/scan_numbers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Words a line of a project file may hold: plain numbers of every size, and everything that
// must go to sscanf (signs, exponents, points in odd places, hexadecimal, inf and nan, letters).
const std::vector<std::string> WORDS = {"0",
                                        "7",
                                        "-0",
                                        "-12",
                                        "90",
                                        "270",
                                        "25400000",
                                        "-6900000",
                                        "2147483647",
                                        "-2147483648",
                                        "2147483648",
                                        "9223372036854775807",
                                        "9223372036854775808",
                                        "-9223372036854775809",
                                        "123456789012345678901234567890",
                                        "1.5",
                                        "-0.75",
                                        "3.",
                                        "-3.",
                                        ".5",
                                        "-.5",
                                        "0.1",
                                        "12.000000000000000000001",
                                        "1e3",
                                        "1E-2",
                                        "-2e+5",
                                        "1e999",
                                        "1e-999",
                                        "+5",
                                        "+0.5",
                                        "0x1A",
                                        "0x1p3",
                                        "-0X10",
                                        "inf",
                                        "-inf",
                                        "infinity",
                                        "nan",
                                        "-nan",
                                        "NAN(123)",
                                        "12abc",
                                        "4.5x",
                                        "abc",
                                        "-",
                                        "+",
                                        ".",
                                        "e5",
                                        "--1",
                                        "1-2",
                                        "0.000000000000000000000000000000000000001",
                                        "\"R1\"",
                                        "A1"};
const std::vector<std::string> GAPS = {" ", "  ", "\t", " \t ", "\n", "\r", "\v", "\f"};

std::string random_line(std::mt19937& random) {
    std::string line;
    if (random() % 4 == 0) line += GAPS[random() % GAPS.size()];
    int words = static_cast<int>(random() % 7);
    for (int i = 0; i < words; ++i) {
        if (i > 0) line += GAPS[random() % GAPS.size()];
        // Mostly plain numbers, as in real files, so that both roads are taken often.
        if (random() % 3 != 0) {
            long long value = static_cast<long long>(random() % 2000000000) - 1000000000;
            line += random() % 2 == 0 ? std::to_string(value)
                                      : std::to_string(value / 1000) + "." + std::to_string(random() % 1000);
        } else {
            line += WORDS[random() % WORDS.size()];
        }
    }
    if (random() % 3 == 0) line += "\n";
    if (random() % 20 == 0) line.insert(random() % (line.size() + 1), 1, '\0');
    return line;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The value a field starts from, and whether two fields hold the same (NaNs of any sign alike).
double sentinel(double) { return -1234.5; }
int sentinel(int) { return -77; }
long long sentinel(long long) { return -88; }
SkipInteger sentinel(SkipInteger) { return {}; }
SkipWord sentinel(SkipWord) { return {}; }
bool same_value(double a, double b) { return same_bits(a, b) || (a != a && b != b); }
bool same_value(int a, int b) { return a == b; }
bool same_value(long long a, long long b) { return a == b; }
bool same_value(SkipInteger, SkipInteger) { return true; }
bool same_value(SkipWord, SkipWord) { return true; }

// Runs one format both ways over `lines` and compares; fields start from a sentinel so that
// fields left unassigned are compared too.
template <typename... Fields, typename Sscanf>
void compare_format(std::type_identity_t<ScanFormat<Fields...>> format, Sscanf&& reference,
                    const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::tuple<Fields...> ours{}, theirs{};
        std::apply([](auto&... fields) { ((fields = sentinel(fields)), ...); }, ours);
        std::apply([](auto&... fields) { ((fields = sentinel(fields)), ...); }, theirs);
        int our_result =
            std::apply([&](auto&... fields) { return scan_numbers<Fields...>(line, format, &fields...); }, ours);
        int their_result = std::apply([&](auto&... fields) { return reference(line.c_str(), fields...); }, theirs);
        ASSERT_EQ(our_result, their_result) << format.text << " on \"" << line << "\"";
        bool equal = true;
        std::apply(
            [&](auto&... a) { std::apply([&](auto&... b) { ((equal = equal && same_value(a, b)), ...); }, theirs); },
            ours);
        ASSERT_TRUE(equal) << format.text << " on \"" << line << "\"";
    }
}

}  // namespace

TEST(ScanNumbers, AgreesWithSscanfOnEveryFormatTheReadersUse) {
    std::mt19937 random(20261209);
    std::vector<std::string> lines;
    for (const std::string& word : WORDS)
        for (const std::string& other : WORDS) lines.push_back(word + " " + other + " 1 2 3");
    for (int i = 0; i < 150000; ++i) lines.push_back(random_line(random));
    lines.push_back("");
    lines.push_back("   ");
    lines.push_back("25400000 12700000 1 90 0\n");

    compare_format<double>(
        "%lf", [](const char* s, double& a) { return std::sscanf(s, "%lf", &a); }, lines);
    compare_format<int>(
        "%d", [](const char* s, int& a) { return std::sscanf(s, "%d", &a); }, lines);
    compare_format<double, double, double, double>(
        "%lf %lf %lf %lf",
        [](const char* s, double& a, double& b, double& c, double& d) {
            return std::sscanf(s, "%lf %lf %lf %lf", &a, &b, &c, &d);
        },
        lines);
    compare_format<SkipInteger, double, double, int>(
        "%*d %lf %lf %d",
        [](const char* s, SkipInteger&, double& a, double& b, int& c) {
            return std::sscanf(s, "%*d %lf %lf %d", &a, &b, &c);
        },
        lines);
    compare_format<SkipInteger, double, double, double>(
        "%*d %lf %lf %lf",
        [](const char* s, SkipInteger&, double& a, double& b, double& c) {
            return std::sscanf(s, "%*d %lf %lf %lf", &a, &b, &c);
        },
        lines);
    compare_format<SkipWord, double>(
        "%*s %lf", [](const char* s, SkipWord&, double& a) { return std::sscanf(s, "%*s %lf", &a); }, lines);
    compare_format<int, double>(
        "%d %lf", [](const char* s, int& a, double& b) { return std::sscanf(s, "%d %lf", &a, &b); }, lines);
    compare_format<double, double, long long, long long, long long>(
        "%lf %lf %lld %lld %lld",
        [](const char* s, double& a, double& b, long long& c, long long& d, long long& e) {
            return std::sscanf(s, "%lf %lf %lld %lld %lld", &a, &b, &c, &d, &e);
        },
        lines);
}

TEST(ScanNumbers, PlainLinesAreReadAndTheRestIsSscanfs) {
    double x = 0, y = 0;
    long long side = 0, angle = 0, flag = 0;
    EXPECT_EQ(scan_numbers("25400000 -12.5 1 90 0\n", "%lf %lf %lld %lld %lld", &x, &y, &side, &angle, &flag), 5);
    EXPECT_EQ(x, 25400000.0);
    EXPECT_EQ(y, -12.5);
    EXPECT_EQ(angle, 90);
    // A hexadecimal number is sscanf's to read, and it reads all of it.
    EXPECT_EQ(scan_numbers("0x10 2", "%lf %lf %lld %lld %lld", &x, &y, &side, &angle, &flag), 2);
    EXPECT_EQ(x, 16.0);
    // The text ends at a NUL byte, as a C string does.
    EXPECT_EQ(scan_numbers(std::string_view("7\0 8", 4), "%lf %lf", &x, &y), 1);
}
