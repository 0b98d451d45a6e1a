// The executable as a user runs it: switches, file names, exit statuses, console.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

const std::string PROJECT =
    "project_name: \"Tiny\"\n[footprints]\nname: \"R0603\"\nunits: MIL\ncentroid: 0 0 0 0\nsel_rect: -50 -25 50 25\n"
    "n_pins: 2\npin: 1 0 -30 0 0\ntop_pad: 2 30 35 0 0 0\npin: 2 0 30 0 0\ntop_pad: 2 30 35 0 0 0\n\n[board]\n"
    "[parts]\npart: R1\nshape: \"R0603\"\nvalue: \"1k\"\npos: 25400000 0 0 90 0\n\n[nets]\n";

const std::string RUN_CONSOLE = std::string(BANNER) + "Project: Tiny\n\n   1 Footprints found.\n   1 Parts found.\n\n\nDone!\n";

struct Board {
    ScratchDir dir;
    explicit Board(const std::string& name = "board.lpf") { write_file(dir.file(name), PROJECT); }
};

}  // namespace

TEST(CommandLine, DerivedNamesReadAndWriteTheRightFiles) {
    Board board;
    CliResult result = run_tarnwick(board.dir.path, "board");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, RUN_CONSOLE);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(read_file(board.dir.file("board.place")).find("\nR1        R0603"), std::string::npos);
    EXPECT_EQ(run_tarnwick(board.dir.path, "board out").status, 0);
    EXPECT_EQ(run_tarnwick(board.dir.path, "board.lpf out.rpt").status, 0);
    EXPECT_EQ(run_tarnwick(board.dir.path, "board -x").status, 0);
    EXPECT_EQ(list_dir(board.dir.path), "-x.place board.lpf board.place out.place out.rpt");
}

TEST(CommandLine, SourceWithAnotherExtension) {
    Board board("board.txt");
    EXPECT_EQ(run_tarnwick(board.dir.path, "board.txt").status, 0);
    EXPECT_TRUE(file_exists(board.dir.file("board.place")));
}

TEST(CommandLine, UnknownSwitchIsReportedAndIgnored) {
    Board board;
    CliResult result = run_tarnwick(board.dir.path, "-x board");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, std::string(BANNER) + "\n\nUnknown switch \"-x\" ignored.\n\n" + RUN_CONSOLE.substr(strlen(BANNER)));
}

TEST(CommandLine, UnknownLongSwitchStopsTheRunNamingTheNearestKnownOne) {
    Board board;
    write_file(board.dir.file("panel.ini"), "-F 2\n");
    // The argument as typed, and the switch the message offers in its place.
    const std::pair<const char*, const char*> cases[] = {
        {"--chek board", "--chek\" (did you mean \"--check"},
        {"--CHECK board", "--CHECK\" (did you mean \"--check"},
        {"--check=yes board", "--check=yes\" (did you mean \"--check"},
        {"--reveiw=page.html board", "--reveiw=page.html\" (did you mean \"--review"},
        {"--review= board", "--review=\" (did you mean \"--review"},
        {"--verison", "--verison\" (did you mean \"--version"},
        // Before anything is read: the command file of the -I before it is not even looked for.
        {"-Inone.ini --chek board", "--chek\" (did you mean \"--check"},
        {"-Ipanel.ini --check --hlep board", "--hlep\" (did you mean \"--help"},
    };
    for (const auto& [arguments, named] : cases) {
        CliResult result = run_tarnwick(board.dir.path, arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_EQ(result.err, std::string(BANNER) + "\n\nFatal error: Unknown switch \"" + named + "\"?)\n\n")
            << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf panel.ini");
}

TEST(CommandLine, MissingCommandFileIsFatalBeforeAnythingElse) {
    Board board;
    CliResult result = run_tarnwick(board.dir.path, "-Inone.ini board");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(BANNER) + "\n\nFatal Error: INI file \"none.ini\" not found.\n\n");
    EXPECT_FALSE(file_exists(board.dir.file("board.place")));
}

TEST(CommandLine, CommandFileSwitchesAndTheDefaultFile) {
    Board board;
    write_file(board.dir.file("Tarnwick.ini"), "-F -1\n");
    write_file(board.dir.file("other.ini"), "-F 2\n");
    // The default file turns the report off; -i (no name) reads no command file at all.
    EXPECT_EQ(run_tarnwick(board.dir.path, "board").status, 0);
    EXPECT_FALSE(file_exists(board.dir.file("board.place")));
    EXPECT_EQ(run_tarnwick(board.dir.path, "-i board").status, 0);
    EXPECT_NE(read_file(board.dir.file("board.place")).find("Project: Tiny"), std::string::npos);
    // The last -I counts.
    EXPECT_EQ(run_tarnwick(board.dir.path, "-ITarnwick.ini -Iother.ini board").status, 0);
    EXPECT_EQ(read_file(board.dir.file("board.place")).substr(0, 26), "Report Origin = (0.0, 0.0)");
}

TEST(CommandLine, NamesThatMatchAreRefused) {
    Board board;
    const std::string refusal = std::string(BANNER) + "\n\nFatal error: Source and Destination names match\n\n";
    for (const char* arguments : {"BOARD.LPF board.lpf", "board.place", "board ./board.lpf", "board link.txt"}) {
        if (std::string(arguments).find("link") != std::string::npos) {
            ASSERT_EQ(symlink("board.lpf", board.dir.file("link.txt").c_str()), 0);
        }
        CliResult result = run_tarnwick(board.dir.path, arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_EQ(result.err, refusal) << arguments;
    }
    EXPECT_EQ(read_file(board.dir.file("board.lpf")), PROJECT);
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf link.txt");
}

TEST(CommandLine, MissingSourceIsFatal) {
    ScratchDir dir;
    CliResult result = run_tarnwick(dir.path, "board");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(BANNER) + "\n\nFatal error: Source file \"board.lpf\" not found \n\n");
    EXPECT_EQ(list_dir(dir.path), "");
}

TEST(CommandLine, DestinationThatCannotBeWritten) {
    Board board;
    CliResult missing_dir = run_tarnwick(board.dir.path, "board nodir/out.place");
    EXPECT_EQ(missing_dir.status, 1);
    EXPECT_EQ(missing_dir.err, std::string(BANNER) + "\n\nFatal error: Can't open output file \"nodir/out.place\" \n\n");
    write_file(board.dir.file("locked.place"), "earlier");
    chmod(board.dir.file("locked.place").c_str(), 0444);
    CliResult locked = run_tarnwick(board.dir.path, "board locked");
    EXPECT_EQ(locked.status, 1);
    EXPECT_EQ(locked.err, std::string(BANNER) + "\n\nFatal error: Can't open output file \"locked.place\" \n\n");
    EXPECT_EQ(read_file(board.dir.file("locked.place")), "earlier");
    // With the report off nothing is opened, so the same destination does no harm.
    write_file(board.dir.file("off.ini"), "-F -1\n");
    CliResult off = run_tarnwick(board.dir.path, "-Ioff.ini board nodir/out.place");
    EXPECT_EQ(off.status, 0);
    EXPECT_EQ(off.err.substr(off.err.size() - 7), "\nDone!\n");
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf locked.place off.ini");
}

TEST(CommandLine, FatalErrorKeepsAnEarlierReportAndLeavesNoTemporaryFile) {
    Board board;
    write_file(board.dir.file("board.place"), "earlier report");
    write_file(board.dir.file("bad.lpf"), "[footprints]\n[board]\n[parts]\npart: R1\nshape: \"NONE\"\npos: 0 0 0 0 0\n");
    CliResult result = run_tarnwick(board.dir.path, "bad board.place");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(BANNER) + "\nR1 has unknown footprint: NONE\n");
    EXPECT_EQ(read_file(board.dir.file("board.place")), "earlier report");
    EXPECT_EQ(list_dir(board.dir.path), "bad.lpf board.lpf board.place");
}

TEST(CommandLine, ReplacedReportKeepsTheFilesPermissionsAndNothingOfTheOldOne) {
    Board board;
    write_file(board.dir.file("board.place"), "old");
    chmod(board.dir.file("board.place").c_str(), 0640);
    ASSERT_EQ(run_tarnwick(board.dir.path, "board").status, 0);
    struct stat status {};
    stat(board.dir.file("board.place").c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(read_file(board.dir.file("board.place")).substr(0, 15), "\nProject: Tiny\n");
    // The earlier report, swapped out under the temporary name, is gone too.
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf board.place");
}

TEST(CommandLine, ReportThroughALinkIsWrittenToTheLinkedFile) {
    Board board;
    write_file(board.dir.file("real.place"), "old");
    ASSERT_EQ(symlink("real.place", board.dir.file("link.place").c_str()), 0);
    ASSERT_EQ(run_tarnwick(board.dir.path, "board link.place").status, 0);
    EXPECT_NE(read_file(board.dir.file("real.place")).find("Project: Tiny"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_symlink(board.dir.file("link.place")));
}

// A destination that is no file to replace is written where it is, as standard output is.
TEST(DestinationInPlace, NamedPipeWithAReaderReceivesTheReportAndStaysAPipe) {
    Board board;
    const std::string pipe = board.dir.file("out.place");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = read_file(pipe); });
    CliResult result = run_tarnwick(board.dir.path, "board out");
    // Should the program never open the pipe, this lets the reader go.
    int release = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (release >= 0) close(release);
    reader.join();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, RUN_CONSOLE);
    struct stat status {};
    ASSERT_EQ(lstat(pipe.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    ASSERT_EQ(run_tarnwick(board.dir.path, "board").status, 0);
    EXPECT_EQ(received, read_file(board.dir.file("board.place")));
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf board.place out.place");
}

TEST(DestinationInPlace, LinkToAFullDeviceEndsTheRunAndLeavesTheDevice) {
    Board board;
    ASSERT_EQ(symlink("/dev/full", board.dir.file("out.place").c_str()), 0);
    // Run as root, a program that replaced its destination would replace the device: the case runs
    // as an unprivileged user, who can read the project and nothing more here.
    std::string as_user;
    if (geteuid() == 0) {
        as_user = "setpriv --reuid=65534 --regid=65534 --clear-groups";
        ASSERT_EQ(chmod(board.dir.path.c_str(), 0755), 0);
        if (std::system((as_user + " test -x '" + tested_program() + "'").c_str()) != 0)
            GTEST_SKIP() << "the unprivileged user cannot start " << tested_program();
    }
    const std::string devices = list_dir("/dev");
    CliResult result = run_tarnwick(board.dir.path, "board out", "", as_user);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(BANNER) + "Project: Tiny\n\n   1 Footprints found.\n   1 Parts found.\n\n"
                                                "\n\nFatal error: Can't write output file \"out.place\": No space "
                                                "left on device\n\n");
    EXPECT_EQ(list_dir("/dev"), devices);
    struct stat status {};
    ASSERT_EQ(stat("/dev/full", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(board.dir.file("out.place")));
    EXPECT_EQ(list_dir(board.dir.path), "board.lpf out.place");
}

TEST(CommandLine, PipeInAndOut) {
    ScratchDir dir;
    CliResult result = run_tarnwick(dir.path, "", PROJECT);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, RUN_CONSOLE);
    EXPECT_NE(result.out.find("\nR1        R0603                 Top      1.0000   0.0000  270"), std::string::npos);
    EXPECT_EQ(list_dir(dir.path), "");
}

TEST(CommandLine, DefaultNamesFromTheCommandFile) {
    Board board;
    write_file(board.dir.file("Tarnwick.ini"), "-N board report.txt\n");
    EXPECT_EQ(run_tarnwick(board.dir.path, "").status, 0);
    EXPECT_TRUE(file_exists(board.dir.file("report.txt")));
    // Names on the command line win over the command file's.
    EXPECT_EQ(run_tarnwick(board.dir.path, "board mine").status, 0);
    EXPECT_TRUE(file_exists(board.dir.file("mine.place")));
}

TEST(CommandLine, ProjectErrorsStopWithTheirMessage) {
    ScratchDir dir;
    write_file(dir.file("a.lpf"), "project_name: \"x\"\n");
    CliResult result = run_tarnwick(dir.path, "a");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string(BANNER) + "Project: x\n\n\nFootprints not found\n");
    EXPECT_EQ(list_dir(dir.path), "a.lpf");
}
