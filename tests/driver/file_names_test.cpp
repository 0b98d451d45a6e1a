#include "driver/file_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "test_support.h"

namespace {

std::string derived(const std::string& source, const std::string& destination = "") {
    FileNames names = derive_file_names(source, destination);
    return names.source_name + " -> " + names.destination_name;
}

}  // namespace

TEST(FileNames, DefaultExtensions) {
    EXPECT_EQ(derived("board"), "board.lpf -> board.place");
    EXPECT_EQ(derived("board.txt"), "board.txt -> board.place");
    EXPECT_EQ(derived("board", "out"), "board.lpf -> out.place");
    EXPECT_EQ(derived("board", "out.rpt"), "board.lpf -> out.rpt");
    EXPECT_EQ(derived("..\\board"), "..\\board -> ..place");
    EXPECT_EQ(derived("dir.v2/board"), "dir.v2/board -> dir.place");
    EXPECT_EQ(derived("board", "-x"), "board.lpf -> -x.place");
}

TEST(FileNames, MatchIgnoresCase) {
    EXPECT_TRUE(names_match("BOARD.LPF", "board.lpf"));
    EXPECT_FALSE(names_match("board.lpf", "board.place"));
}

TEST(FileNames, SameFileUnderAnotherSpelling) {
    ScratchDir dir;
    write_file(dir.file("a.lpf"), "x");
    ASSERT_EQ(symlink(dir.file("a.lpf").c_str(), dir.file("link.place").c_str()), 0);
    EXPECT_TRUE(same_existing_file(dir.file("a.lpf"), dir.path + "/./a.lpf"));
    EXPECT_TRUE(same_existing_file(dir.file("a.lpf"), dir.file("link.place")));
    EXPECT_FALSE(same_existing_file(dir.file("a.lpf"), dir.file("new.place")));
}
