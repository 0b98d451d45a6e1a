#include "driver/file_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

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
    EXPECT_EQ(derived("board", "-x"), "board.lpf -> -x.place");
}

TEST(FileNames, OnlyTheFileNameAfterTheLastSlashCounts) {
    // A dot in a folder's name neither keeps the extension off nor cuts the report's name.
    EXPECT_EQ(derived("dir.v2/board"), "dir.v2/board.lpf -> dir.v2/board.place");
    EXPECT_EQ(derived("/home/me/my.boards/board"), "/home/me/my.boards/board.lpf -> /home/me/my.boards/board.place");
    EXPECT_EQ(derived("./board"), "./board.lpf -> ./board.place");
    EXPECT_EQ(derived("../x/board.txt"), "../x/board.txt -> ../x/board.place");
    EXPECT_EQ(derived("a.b/c.d/board.v1.lpf"), "a.b/c.d/board.v1.lpf -> a.b/c.d/board.v1.place");
    EXPECT_EQ(derived("board", "my.out/report"), "board.lpf -> my.out/report.place");
    EXPECT_EQ(derived("board", "my.out/report.rpt"), "board.lpf -> my.out/report.rpt");
}

TEST(FileNames, AFolderReceivesTheReportUnderItsOwnName) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.file("out"));
    EXPECT_EQ(derived("x.y/board", "outdir/"), "x.y/board.lpf -> outdir/board.place");
    EXPECT_EQ(derived("board.v2.lpf", dir.file("out")), "board.v2.lpf -> " + dir.file("out") + "/board.v2.place");
    EXPECT_EQ(derived("board", dir.file("out") + "/"), "board.lpf -> " + dir.file("out") + "/board.place");
    // A name that is no folder keeps the plain rule.
    EXPECT_EQ(derived("board", dir.file("outx")), "board.lpf -> " + dir.file("outx") + ".place");
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
