#include "common/text_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/memory.h"
#include "test_support.h"

namespace {

std::vector<std::string> raw_lines(const std::string& data) {
    TextLines text = split_lines(data);
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
    EXPECT_EQ(raw_lines("a\r\nb\rc\r\n\r"), (std::vector<std::string>{"a\n", "b\rc\n", "\r"}));
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
    TextLines text = split_lines(" \t key: 1\n\n");
    LineCursor cursor{text};
    EXPECT_EQ(cursor.next(), "key: 1\n");
    EXPECT_EQ(cursor.next(), "\n");
    EXPECT_TRUE(cursor.at_end());
    cursor.position = 0;
    EXPECT_TRUE(starts_with_key(cursor.next(), "key:"));
}

TEST(TextLines, LargeFilesReadLikeSmallOnes) {
    // Files from a quarter megabyte up take another road into memory, and from 8 MiB on
    // two threads read a half each; the text must not differ.
    ScratchDir dir;
    const size_t two_readers = size_t{8} << 20;
    std::string lines;
    for (int i = 0; lines.size() < two_readers + (size_t{3} << 20); ++i) lines += "line " + std::to_string(i) + "\r\n";
    lines += std::string("tail\0byte\r", 10);
    for (size_t size : {LARGE_BLOCK - 1, LARGE_BLOCK, LARGE_BLOCK + 1, 3 * LARGE_BLOCK, two_readers - 1, two_readers,
                        two_readers + (size_t{2} << 20) + 1, lines.size()}) {
        std::string content = lines.substr(0, size);
        write_file(dir.file("big.txt"), content);
        TextLines from_file;
        ASSERT_TRUE(read_text_file(dir.file("big.txt"), from_file)) << size;
        TextLines in_memory = split_lines(content);
        EXPECT_EQ(from_file.data, in_memory.data) << size;
    }
    TextLines missing;
    EXPECT_FALSE(read_text_file(dir.file("none.txt"), missing));
    EXPECT_FALSE(read_text_file(dir.path, missing));
}

TEST(TextLines, DiscardingKeepsEverythingFromThePositionOn) {
    ScratchDir dir;
    std::string content;
    for (int i = 0; content.size() < (size_t{9} << 20); ++i) content += "part: R" + std::to_string(i) + "\n";
    write_file(dir.file("big.txt"), content);
    TextLines text;
    ASSERT_TRUE(read_text_file(dir.file("big.txt"), text));
    ASSERT_TRUE(text.discardable);
    for (size_t position : {size_t{1} << 20, (size_t{4} << 20) + 12345, (size_t{6} << 20) - 1, content.size() + 10}) {
        discard_text_before(text, position);
        size_t from = std::min(position, content.size());
        ASSERT_EQ(text.data.substr(from), std::string_view(content).substr(from)) << position;
    }
    // Text held in a string (a pipe, a small file) is never discarded.
    TextLines small = split_lines("a\nb\n");
    EXPECT_FALSE(small.discardable);
    discard_text_before(small, 4);
    EXPECT_EQ(small.data, "a\nb\n");
}
