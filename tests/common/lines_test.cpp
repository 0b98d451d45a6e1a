#include "common/lines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/files.h"
#include "test_support.h"

namespace {

std::vector<std::string> raw_lines(const std::string& text) {
    LineCursor cursor{text};
    std::vector<std::string> lines;
    while (!cursor.at_end()) lines.emplace_back(cursor.next_raw());
    return lines;
}

}  // namespace

TEST(TextLines, DeliversLinesWithTheirLineFeeds) {
    EXPECT_EQ(raw_lines("one\ntwo\nlast"), (std::vector<std::string>{"one\n", "two\n", "last"}));
    EXPECT_TRUE(raw_lines("").empty());
}

TEST(TextLines, CarriageReturnBeforeLineFeedIsDropped) {
    ScratchDir dir;
    write_file(dir.file("crlf.txt"), "a\r\nb\rc\r\n\r");
    std::string text;
    ASSERT_TRUE(read_text_file(dir.file("crlf.txt"), text));
    EXPECT_EQ(raw_lines(text), (std::vector<std::string>{"a\n", "b\rc\n", "\r"}));
    std::istringstream stream("x\r\ny\r\n");
    EXPECT_EQ(read_text_stream(stream), "x\ny\n");
}

TEST(TextLines, FoldersAndMissingFilesCannotBeRead) {
    ScratchDir dir;
    std::string text;
    EXPECT_FALSE(read_text_file(dir.file("none.txt"), text));
    EXPECT_FALSE(read_text_file(dir.path, text));
    EXPECT_FALSE(readable_file(dir.path));
    write_file(dir.file("some.txt"), std::string("tail\0byte", 9));
    ASSERT_TRUE(read_text_file(dir.file("some.txt"), text));
    EXPECT_EQ(text, std::string("tail\0byte", 9));
}

TEST(TextLines, LongLinesArriveIn1023CharacterPieces) {
    std::vector<std::string> lines = raw_lines(std::string(2000, 'x') + "\n" + std::string(1023, 'y') + "\nz");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(1023, 'x'));
    EXPECT_EQ(lines[1], std::string(977, 'x') + "\n");
    // A line of exactly 1023 characters leaves its line feed for the next read.
    EXPECT_EQ(lines[2], std::string(1023, 'y'));
    EXPECT_EQ(lines[3], "\n");
    EXPECT_EQ(lines[4], "z");
}

TEST(TextLines, NulByteEndsTheLineText) {
    EXPECT_EQ(raw_lines(std::string("ab\0cd\nef", 8)), (std::vector<std::string>{"ab", "ef"}));
}

TEST(TextLines, CursorStripsLeadingBlanksAndCanRewind) {
    const std::string text = " \t key: 1\n\n";
    LineCursor cursor{text};
    EXPECT_EQ(cursor.next(), "key: 1\n");
    EXPECT_EQ(cursor.next(), "\n");
    EXPECT_TRUE(cursor.at_end());
    cursor.position = 0;
    EXPECT_TRUE(starts_with_key(cursor.next(), "key:"));
}
