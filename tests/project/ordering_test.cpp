#include "project/ordering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string sorted(const std::vector<std::string>& designators) {
    std::vector<PartRecord> parts;
    for (size_t i = 0; i < designators.size(); ++i) {
        PartRecord part;
        part.ref_des = designators[i];
        part.pin_count = static_cast<int>(i);  // file position, to see stability
        parts.push_back(part);
    }
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
    for (int i = 2000; i > 0; --i) designators.push_back((i % 3 == 0 ? "c" : "C") + std::to_string(i % 700));
    std::vector<PartRecord> parts;
    for (size_t i = 0; i < designators.size(); ++i) {
        PartRecord part;
        part.ref_des = designators[i];
        part.pin_count = static_cast<int>(i);
        parts.push_back(part);
    }
    // The reference: the same two stages as exchange sorts over the same comparisons.
    std::vector<PartRecord> expected = parts;
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
