// The plots of the example must be read by a real Gerber reader without complaint.
#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

TEST(GerberReader, GerbvReadsAndRendersBothExamplePlots) {
    if (std::system("command -v gerbv >/dev/null 2>&1") != 0) {
        if (std::getenv("CI") != nullptr) FAIL() << "gerbv is not installed";
        GTEST_SKIP() << "gerbv is not installed";
    }
    ScratchDir dir;
    copy_example(dir);
    ASSERT_EQ(run_tarnwick(dir.path, "").status, 0);
    for (const char* plot : {"TopPlace", "BottomPlace"}) {
        std::string command = "cd '" + dir.path + "' && gerbv -x png -D 150 -o " + plot + ".png " + plot +
                              ".gbr >" + plot + ".log 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << plot;
        EXPECT_EQ(read_file(dir.file(std::string(plot) + ".log")), "") << plot;
        std::string png = read_file(dir.file(std::string(plot) + ".png"));
        ASSERT_GT(png.size(), 1000u) << plot;
        EXPECT_EQ(png.substr(1, 3), "PNG");
    }
}
