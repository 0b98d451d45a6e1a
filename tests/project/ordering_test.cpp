#include "project/ordering.h"

#include "common/text.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

// Parts with these designators, each tagged with its file position in `pin_count`, to see stability.
PartTable tagged_parts(const std::vector<std::string>& designators) {
    PartTable parts;
    for (size_t i = 0; i < designators.size(); ++i) {
        PartRecord part;
        part.ref_des = designators[i];
        part.pin_count = static_cast<int>(i);
        parts.push_back(part);
    }
    return parts;
}

std::string sorted(const std::vector<std::string>& designators) {
    PartTable parts = tagged_parts(designators);
    sort_parts(parts);
    std::string order;
    for (const PartRecord& part : parts) order += (order.empty() ? "" : " ") + part.ref_des;
    return order;
}

}  // namespace

TEST(PartOrdering, NumbersWithinAPrefixSortNumerically) {
    EXPECT_EQ(sorted({"C10", "C2", "C1"}), "C1 C2 C10");
    EXPECT_EQ(sorted({"R10", "C3", "R9", "U1", "C20", "R1"}), "C3 C20 R1 R9 R10 U1");
}

TEST(PartOrdering, CaseIsIgnoredAndEqualNamesKeepFileOrder) {
    EXPECT_EQ(sorted({"R1", "c3", "C1"}), "C1 c3 R1");
    EXPECT_EQ(sorted({"c1", "C1"}), "c1 C1");
    EXPECT_EQ(sorted({"C1", "c1"}), "C1 c1");
}

TEST(PartOrdering, SuffixesAndDesignatorsWithoutDigits) {
    EXPECT_EQ(sorted({"U1B", "U1A", "U10"}), "U1A U1B U10");
    EXPECT_EQ(sorted({"R", "R2", "R1"}), "R R1 R2");
    EXPECT_EQ(sorted({"FID", "R2", "R1", "C1"}), "C1 FID R1 R2");
    EXPECT_EQ(sorted({"R1-2", "R10", "R1-1", "R3"}), "R1-1 R1-2 R3 R10");
}

TEST(PartOrdering, ByteOrderOfPunctuation) {
    // The underscore sorts after digits and before letters, the hyphen before digits.
    EXPECT_EQ(sorted({"A_", "Aa", "A1", "A-"}), "A- A1 A_ Aa");
    EXPECT_LT(compare_ignoring_case("abc", "ABCD"), 0);
    EXPECT_EQ(compare_ignoring_case("Q7", "q7"), 0);
}

TEST(PartOrdering, HugeNumbersDoNotOverflow) {
    EXPECT_EQ(sorted({"R99999999999999999999999", "R2"}), "R2 R99999999999999999999999");
}

TEST(PartOrdering, TinyTablesAreLeftAlone) {
    EXPECT_EQ(sorted({}), "");
    EXPECT_EQ(sorted({"Z9"}), "Z9");
}

TEST(PartOrdering, ManyPartsSortAsTheStableExchangeSortWould) {
    std::vector<std::string> designators;
    for (int i = 2000; i > 0; --i) designators.push_back(numbered(i % 3 == 0 ? "c" : "C", i % 700));
    PartTable parts = tagged_parts(designators);
    // The reference: the same two stages as exchange sorts over the same comparisons.
    PartTable expected = parts;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (size_t i = 1; i < expected.size(); ++i)
            if (compare_ignoring_case(expected[i - 1].ref_des, expected[i].ref_des) > 0) {
                std::swap(expected[i - 1], expected[i]);
                swapped = true;
            }
    }
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (size_t i = 1; i < expected.size(); ++i)
            if (std::stoi(expected[i - 1].ref_des.substr(1)) > std::stoi(expected[i].ref_des.substr(1))) {
                std::swap(expected[i - 1], expected[i]);
                swapped = true;
            }
    }
    sort_parts(parts);
    for (size_t i = 0; i < parts.size(); ++i) {
        ASSERT_EQ(parts[i].ref_des, expected[i].ref_des) << i;
        ASSERT_EQ(parts[i].pin_count, expected[i].pin_count) << i;
    }
}

namespace {

// The ordering as two plain stable sorts: alphabetically without regard to case, then
// by number within each run of designators whose prefix before the first digit is equal.
std::vector<std::string> two_stage_reference(std::vector<std::string> designators) {
    std::stable_sort(designators.begin(), designators.end(),
                     [](const std::string& a, const std::string& b) { return compare_ignoring_case(a, b) < 0; });
    auto prefix_of = [](const std::string& d) { return d.substr(0, std::min(d.size(), d.find_first_of("0123456789"))); };
    auto number_of = [](const std::string& d) {
        size_t digit = d.find_first_of("0123456789");
        unsigned long long number = 0;
        for (size_t i = digit; i < d.size() && std::isdigit(static_cast<unsigned char>(d[i])); ++i)
            number = std::min<unsigned long long>(number * 10 + static_cast<unsigned>(d[i] - '0'), 1ULL << 62);
        return number;
    };
    for (size_t start = 0; start < designators.size();) {
        std::string prefix = prefix_of(designators[start]);
        size_t end = start + 1;
        if (prefix.size() < designators[start].size())
            while (end < designators.size() && compare_ignoring_case(prefix_of(designators[end]), prefix) == 0) ++end;
        std::stable_sort(designators.begin() + static_cast<long>(start), designators.begin() + static_cast<long>(end),
                         [&](const std::string& a, const std::string& b) { return number_of(a) < number_of(b); });
        start = end;
    }
    return designators;
}

}  // namespace

TEST(PartOrdering, RandomDesignatorsSortAsTheTwoStages) {
    // Mixed case, punctuation on both sides of the digits, leading zeros, prefixes of one
    // another, designators longer than any inline key, numbers of every byte length, with
    // zero bytes, and beyond 64 bits.
    const std::vector<std::string> pieces = {"C", "c", "R", "r", "RN", "rn", "U", "TP", "tp_", "X-", "x/", "J:", "",
                                             "LONGPREFIXNAME", "longprefixname", "A", "AB", "TPOINT", "tpoint"};
    const std::vector<std::string> tails = {"", "A", "a", "-1", "_2", "B", "/", ".5", "X", "LONGER_SUFFIX_TEXT"};
    std::mt19937 random(20261209);
    // The last rounds are large, so that the distribution into buckets goes several bytes deep.
    for (int round = 0; round < 42; ++round) {
        std::vector<std::string> designators;
        const int count = round < 40 ? 300 : 40000;
        for (int i = 0; i < count; ++i) {
            std::string d = pieces[random() % pieces.size()];
            switch (random() % 7) {
                case 0: break;
                case 6: d += std::to_string((random() % 3) << (8 * (random() % 4))); break;  // zero bytes in the number
                case 1: d += std::to_string(random() % 20); break;
                case 2: d += "0" + std::to_string(random() % 20); break;
                case 3: d += std::to_string(random() % 1000000); break;
                case 4: d += "123456789012345678901234567890"; break;
                default: d += std::to_string(random() % 5) + pieces[random() % pieces.size()] + std::to_string(random() % 3); break;
            }
            d += tails[random() % tails.size()];
            if (d.empty()) d = "0";
            designators.push_back(d);
        }
        PartTable parts = tagged_parts(designators);
        std::vector<std::string> expected = two_stage_reference(designators);
        sort_parts(parts);
        std::vector<bool> seen(designators.size(), false);
        for (size_t i = 0; i < parts.size(); ++i) {
            ASSERT_EQ(parts[i].ref_des, expected[i]) << "round " << round << " position " << i;
            size_t from = static_cast<size_t>(parts[i].pin_count);
            ASSERT_FALSE(seen[from]);
            seen[from] = true;
            if (i > 0 && parts[i - 1].ref_des == parts[i].ref_des) {
                ASSERT_LT(parts[i - 1].pin_count, parts[i].pin_count);
            }
        }
    }
}
