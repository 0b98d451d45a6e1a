#include "common/short_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

TEST(ShortText, HoldsEveryLengthAroundTheInlineLimitWithItsNul) {
    // 15 characters are the most held in the object itself; 16 and up go to the heap.
    for (size_t length : {0u, 1u, 7u, 14u, 15u, 16u, 17u, 100u, 70000u}) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
        const ShortText held(text);
        EXPECT_EQ(held.size(), length);
        EXPECT_EQ(held.empty(), length == 0);
        EXPECT_EQ(held.view(), text);
        EXPECT_EQ(held.c_str()[length], '\0') << length;
        EXPECT_EQ(std::string(held.c_str()), text);
        EXPECT_EQ(held.str(), text);
    }
    EXPECT_EQ(sizeof(ShortText), 16u);
    // Characters past a NUL are kept: the length is stored, not found.
    const ShortText with_nul(std::string_view("ab\0cd", 5));
    EXPECT_EQ(with_nul.size(), 5u);
    EXPECT_EQ(with_nul.view(), std::string_view("ab\0cd", 5));
}

TEST(ShortText, CopiesMovesAndAssignmentsKeepEachTextApart) {
    const std::string long_text(40, 'L');
    std::vector<ShortText> texts = {ShortText("short"), ShortText(long_text), ShortText()};
    std::vector<ShortText> copies = texts;
    copies[0] = "changed";
    copies[1] = std::string("another long text, longer than fifteen");
    EXPECT_EQ(texts[0], "short");
    EXPECT_EQ(texts[1], long_text);
    EXPECT_EQ(copies[0], "changed");
    EXPECT_EQ(copies[1], "another long text, longer than fifteen");

    ShortText moved(std::move(copies[1]));
    EXPECT_EQ(moved, "another long text, longer than fifteen");
    EXPECT_TRUE(copies[1].empty());
    copies[2] = std::move(moved);
    EXPECT_EQ(copies[2], "another long text, longer than fifteen");
    EXPECT_TRUE(moved.empty());

    // Growing and shrinking between the two forms, and text taken from the object itself.
    ShortText changing("x");
    changing = long_text;
    EXPECT_EQ(changing, long_text);
    changing = changing.view().substr(35);
    EXPECT_EQ(changing, "LLLLL");
    changing = std::string(20, 'y');
    changing = changing.view().substr(2);
    EXPECT_EQ(changing, std::string(18, 'y'));
    ShortText& same = changing;
    changing = same;
    EXPECT_EQ(changing, std::string(18, 'y'));
    changing = std::move(same);
    EXPECT_EQ(changing, std::string(18, 'y'));
}

TEST(ShortText, ComparesWithEveryKindOfTextAndPrints) {
    const ShortText text("R12");
    EXPECT_TRUE(text == "R12");
    EXPECT_TRUE("R12" == text);
    EXPECT_TRUE(text == std::string("R12"));
    EXPECT_TRUE(text == std::string_view("R12"));
    EXPECT_TRUE(text == ShortText("R12"));
    EXPECT_FALSE(text == "R1");
    EXPECT_FALSE(text == "R123");
    EXPECT_FALSE(ShortText(std::string(20, 'a')) == ShortText(std::string(21, 'a')));
    std::ostringstream out;
    out << text << '|' << ShortText(std::string(16, 'z'));
    EXPECT_EQ(out.str(), "R12|" + std::string(16, 'z'));
}
