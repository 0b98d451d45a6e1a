#include "common/text_lines.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextLines, DeliversLinesWithTheirLineFeeds) {
    TextLines text = split_lines("one\ntwo\nlast");
    ASSERT_EQ(text.count(), 3u);
    EXPECT_EQ(text.line(0), "one\n");
    EXPECT_EQ(text.line(1), "two\n");
    EXPECT_EQ(text.line(2), "last");
}

TEST(TextLines, CarriageReturnBeforeLineFeedIsDropped) {
    TextLines text = split_lines("a\r\nb\rc\r\n\r");
    ASSERT_EQ(text.count(), 3u);
    EXPECT_EQ(text.line(0), "a\n");
    EXPECT_EQ(text.line(1), "b\rc\n");
    EXPECT_EQ(text.line(2), "\r");
}

TEST(TextLines, LongLinesArriveIn1023CharacterPieces) {
    std::string long_line(2000, 'x');
    TextLines text = split_lines(long_line + "\n" + std::string(1023, 'y') + "\nz");
    ASSERT_EQ(text.count(), 5u);
    EXPECT_EQ(text.line(0).size(), 1023u);
    EXPECT_EQ(text.line(1), std::string(977, 'x') + "\n");
    // A line of exactly 1023 characters leaves its line feed for the next read.
    EXPECT_EQ(text.line(2), std::string(1023, 'y'));
    EXPECT_EQ(text.line(3), "\n");
    EXPECT_EQ(text.line(4), "z");
}

TEST(TextLines, NulByteEndsTheLineText) {
    TextLines text = split_lines(std::string("ab\0cd\nef", 8));
    ASSERT_EQ(text.count(), 2u);
    EXPECT_EQ(text.line(0), "ab");
    EXPECT_EQ(text.line(1), "ef");
}

TEST(TextLines, CursorStripsLeadingBlanksAndCanRewind) {
    TextLines text = split_lines(" \t key: 1\n\n");
    LineCursor cursor{text};
    EXPECT_EQ(cursor.next(), "key: 1\n");
    EXPECT_EQ(cursor.next(), "\n");
    EXPECT_TRUE(cursor.at_end());
    cursor.position = 0;
    EXPECT_TRUE(starts_with_key(cursor.next(), "key:"));
}
