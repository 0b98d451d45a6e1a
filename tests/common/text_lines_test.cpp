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

namespace {

// Where reading line by line leaves the cursor after the first line starting with `key`.
std::pair<bool, size_t> skip_line_by_line(const TextLines& text, size_t from, std::string_view key) {
    LineCursor cursor{text, from};
    while (!cursor.at_end())
        if (starts_with_key(cursor.next(), key)) return {true, cursor.position};
    return {false, cursor.position};
}

std::pair<bool, size_t> skip_fast(const TextLines& text, size_t from, std::string_view key) {
    LineCursor cursor{text, from};
    bool found = skip_past_line_starting_with(cursor, key);
    return {found, cursor.position};
}

}  // namespace

TEST(TextLines, SkippingToAKeyLineFindsWhatLineByLineReadingFinds) {
    // Texts made of pieces that trouble the search: the key's first character alone, the
    // key after blanks or other text, cut by a line feed or a NUL byte, and long lines whose
    // 1023-character pieces put the key at a piece's start, across its end, or just inside.
    const std::string key = "[parts]";
    const std::vector<std::string> pieces = {
        "[", "[part", key, " \t" + key, "x" + key, "\n", "\n", "\n", "abc\n", std::string(1, '\0'),
        std::string(1000, 'y'), std::string(1017, ' '), std::string(1023, 'z'), " ", "\t", "[nets]\n"};
    uint32_t seed = 12345;
    auto next_random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    int found_count = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string content;
        size_t count = next_random() % 12;
        for (size_t i = 0; i < count; ++i) content += pieces[next_random() % pieces.size()];
        TextLines text = split_lines(content);
        // From the top, and from a later line start as the parts reader's cursor might be.
        std::vector<size_t> starts = {0};
        LineCursor cursor{text};
        for (int skip = 0; skip < 2 && !cursor.at_end(); ++skip) cursor.next_raw();
        starts.push_back(cursor.position);
        for (size_t from : starts) {
            auto expected = skip_line_by_line(text, from, key);
            ASSERT_EQ(skip_fast(text, from, key), expected) << "round " << round << " from " << from;
            found_count += expected.first;
        }
    }
    EXPECT_GT(found_count, 1000);  // the rounds find the key often enough to mean something
}

TEST(TextLines, LinesWithoutNulBytesAreKnownSo) {
    EXPECT_TRUE(split_lines("a\nb\n").nul_free);
    TextLines with_nul = split_lines(std::string("a\0b\nc\n", 6));
    EXPECT_FALSE(with_nul.nul_free);
    LineCursor cursor{with_nul};
    EXPECT_EQ(cursor.next_raw(), "a");
    EXPECT_EQ(cursor.next_raw(), "c\n");
}
