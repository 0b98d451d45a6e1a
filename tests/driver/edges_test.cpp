// The executable at its edges: names with folders, help and version, warnings about arguments,
// a terminal on standard input, full disks, failing standard output and interruptions. Every case
// checks the exit status, the message, and that no output is truncated, lost or left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string FOOTPRINT =
    "name: \"R0603\"\nunits: MIL\ncentroid: 0 0 0 0\nsel_rect: -50 -25 50 25\nn_pins: 2\npin: 1 0 -30 0 0\n"
    "top_pad: 2 30 35 0 0 0\npin: 2 0 30 0 0\ntop_pad: 2 30 35 0 0 0\n\n";

// A project with `top` parts on the top side and `bottom` on the bottom side.
std::string project(int top, int bottom, const std::string& name = "Edges") {
    std::ostringstream text;
    text << "project_name: \"" << name << "\"\n[footprints]\n" << FOOTPRINT << "[board]\n[parts]\n";
    for (int i = 0; i < top + bottom; ++i)
        text << "part: R" << i + 1 << "\nshape: \"R0603\"\npos: " << 1000 * i << " 2540000 " << (i < top ? 0 : 1)
             << " 90 0\n\n";
    text << "[nets]\n";
    return text.str();
}

const std::string BOARD = project(1, 0);

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// In a child about to run the program: the three signals as a terminal would deliver them,
// whatever the test runner set.
// Starts `Tarnwick board` in `dir` with the interruption signals at their defaults and standard
// error (and, when asked, standard output) sent to /dev/null. Returns the child's id.
pid_t start_quiet_run(const std::string& dir, bool quiet_output) {
    const std::string program = tested_program();
    pid_t child = fork();
    if (child != 0) return child;
    if (chdir(dir.c_str()) != 0) _exit(99);
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) signal(signal_number, SIG_DFL);
    int null = open("/dev/null", O_WRONLY);
    if (quiet_output) dup2(null, 1);
    dup2(null, 2);
    execl(program.c_str(), program.c_str(), "board", static_cast<char*>(nullptr));
    _exit(98);
}

// The end of `text` as long as `expected`, to compare with it.
std::string ending(const std::string& text, const std::string& expected) {
    return text.size() < expected.size() ? text : text.substr(text.size() - expected.size());
}

// The beginning of `text` as long as `expected`.
std::string beginning(const std::string& text, const std::string& expected) { return text.substr(0, expected.size()); }

// Runs a shell command in `dir`; the exit status as a shell reports it (128 + signal when killed).
int shell(const std::string& dir, const std::string& command) {
    int raw = std::system(("cd '" + dir + "' && " + command).c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string temporary_files(const std::string& dir) {
    std::string found;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(".tmp") != std::string::npos) found += entry.path().string() + " ";
    return found;
}

// A small file system that fills up, for as long as the object lives; needs root.
struct SmallFileSystem {
    ScratchDir dir;
    bool mounted = false;
    explicit SmallFileSystem(const std::string& size) {
        mounted = ::mount("tmpfs", dir.path.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted) ::umount(dir.path.c_str());
    }
};

}  // namespace

TEST(NamesWithFolders, ReportLandsBesideTheProjectAndNothingOutsideIsTouched) {
    ScratchDir top;
    fs::create_directories(top.file("my.boards"));
    fs::create_directories(top.file("x"));
    fs::create_directories(top.file("work"));
    write_file(top.file("my.boards/board.lpf"), BOARD);
    write_file(top.file("x/board.lpf"), BOARD);
    write_file(top.file("my.place"), "keep me");

    CliResult absolute = run_tarnwick(top.file("work"), "-I " + top.file("my.boards/board"));
    EXPECT_EQ(absolute.status, 0) << absolute.err;
    EXPECT_NE(read_file(top.file("my.boards/board.place")).find("Project: Edges"), std::string::npos);
    EXPECT_EQ(read_file(top.file("my.place")), "keep me");

    EXPECT_EQ(run_tarnwick(top.file("my.boards"), "./board").status, 0);
    EXPECT_EQ(run_tarnwick(top.file("work"), "../x/board").status, 0);
    EXPECT_NE(read_file(top.file("x/board.place")).find("Project: Edges"), std::string::npos);

    fs::create_directories(top.file("x/outdir"));
    EXPECT_EQ(run_tarnwick(top.file("x"), "board outdir/").status, 0);
    EXPECT_EQ(run_tarnwick(top.file("x"), "board.lpf outdir/named").status, 0);
    EXPECT_EQ(list_dir(top.file("x/outdir")), "board.place named.place");
    // The command file's names follow the same rules.
    write_file(top.file("work/names.ini"), "-N ../my.boards/board ../x/outdir\n");
    fs::remove(top.file("x/outdir/board.place"));
    EXPECT_EQ(run_tarnwick(top.file("work"), "-Inames.ini").status, 0);
    EXPECT_TRUE(file_exists(top.file("x/outdir/board.place")));
    EXPECT_EQ(list_dir(top.file("work")), "names.ini");
    EXPECT_EQ(list_dir(top.file("x")), "board.lpf board.place outdir");
    EXPECT_EQ(read_file(top.file("my.place")), "keep me");
}

TEST(NamesWithFolders, ABackslashSeparatesFoldersOnWindowsOnly) {
    ScratchDir top;
    fs::create_directories(top.file("x/work"));
    if (program_is_windows()) {
        // The name rules then make ..\board read ..\board.lpf and write ..\board.place.
        write_file(top.file("x/board.lpf"), BOARD);
        EXPECT_EQ(run_tarnwick(top.file("x/work"), "'..\\board'").status, 0);
        EXPECT_NE(read_file(top.file("x/board.place")).find("Project: Edges"), std::string::npos);
        EXPECT_EQ(list_dir(top.file("x/work")), "");
    } else {
        // Here a backslash is part of the name: ..\board has a "." and is read as it is, and the
        // report is the name cut at its last ".", "..place".
        write_file(top.file("x/work/..\\board"), BOARD);
        EXPECT_EQ(run_tarnwick(top.file("x/work"), "'..\\board'").status, 0);
        EXPECT_NE(read_file(top.file("x/work/..place")).find("Project: Edges"), std::string::npos);
    }
}

TEST(HelpAndVersion, PrintOnStandardOutputAndTouchNothing) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), BOARD);
    write_file(dir.file("font.xml"), read_file(source_path("examples/font.xml")));
    write_file(dir.file("Tarnwick.ini"), "-N board\n-C 1\n");
    write_file(dir.file("board.place"), "earlier");
    const std::string before = list_dir(dir.path);
    for (const char* arguments : {"--help", "-h", "-H board", "-Imissing.ini --help", "-x --help out"}) {
        CliResult help = run_tarnwick(dir.path, arguments);
        EXPECT_EQ(help.status, 0) << arguments;
        EXPECT_EQ(help.err, "") << arguments;
        const std::string usage = "Usage: Tarnwick [-I<command file>] [--check] [--findings=FILE] [--fixes=FILE]\n"
                                  "                [--review[=FILE]] [--review-encoding=NAME] [--bom[=FILE]]\n";
        EXPECT_EQ(help.out.substr(0, usage.size()), usage) << arguments;
        EXPECT_NE(help.out.find("man Tarnwick"), std::string::npos);
    }
    CliResult version = run_tarnwick(dir.path, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Tarnwick 1.41R\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(list_dir(dir.path), before);
    EXPECT_EQ(read_file(dir.file("board.place")), "earlier");
    // After the source name it is a name, as every argument there is.
    CliResult late = run_tarnwick(dir.path, "board --help");
    EXPECT_EQ(late.status, 0);
    EXPECT_TRUE(file_exists(dir.file("--help.place")));
}

TEST(ArgumentWarnings, NothingIsDroppedWithoutAWord) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), BOARD);
    write_file(dir.file("dnp.ini"), "-I R1 gone 1\n");
    CliResult late_switch = run_tarnwick(dir.path, "board -Idnp.ini");
    EXPECT_EQ(late_switch.status, 0);
    const std::string warning = std::string(BANNER) +
                                "\n\nWarning: \"-Idnp.ini\" after the source name is taken as the destination name "
                                "(switches go before the names).\n\n";
    EXPECT_EQ(beginning(late_switch.err, warning), warning);
    EXPECT_TRUE(file_exists(dir.file("-Idnp.ini")));

    CliResult extra = run_tarnwick(dir.path, "-x board out extra \"more words\"");
    EXPECT_EQ(extra.status, 0);
    const std::string warnings =
        std::string(BANNER) + "\n\nUnknown switch \"-x\" ignored.\n\n" +
        "\n\nWarning: argument \"extra\" ignored (only a source and a destination name are taken).\n\n" +
        "\n\nWarning: argument \"more words\" ignored (only a source and a destination name are taken).\n\n";
    EXPECT_EQ(beginning(extra.err, warnings), warnings);
    EXPECT_EQ(list_dir(dir.path), "-Idnp.ini board.lpf dnp.ini out.place");
}

TEST(ArgumentWarnings, CommandFileNameAfterABareI) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), BOARD);
    write_file(dir.file("panel.ini"), "-F 2\n");
    // "-I panel.ini": -I alone reads no command file, and panel.ini becomes the project.
    for (const char* arguments : {"-I panel.ini board", "-i Panel.INI"}) {
        const std::string name = std::string(arguments).substr(3, 9);
        CliResult result = run_tarnwick(dir.path, arguments);
        const std::string warning = std::string(BANNER) + "\n\nWarning: \"" + name +
                                    "\" after a bare -I is taken as the source name (a command file's name goes "
                                    "straight after -I: -I" + name + ").\n\n";
        EXPECT_EQ(beginning(result.err, warning), warning) << arguments;
        EXPECT_EQ(result.status, 1) << arguments;
    }
    // Glued on, or another source name after a bare -I: no warning.
    for (const char* arguments : {"-Ipanel.ini board", "-I board"}) {
        CliResult result = run_tarnwick(dir.path, arguments);
        EXPECT_EQ(result.status, 0) << arguments;
        EXPECT_EQ(result.err.find("Warning"), std::string::npos) << arguments;
    }
}

// Names in Greek, Cyrillic and Chinese reach the file system as they were typed, wherever they come
// from, and the console names them. (Under Wine: the Windows program's UTF-8 code page.)
TEST(NamesInAnyScript, AreReadAndWrittenAsTypedAndNamedOnTheConsole) {
    ScratchDir dir;
    const std::string font = read_file(source_path("examples/font.xml"));
    write_file(dir.file("πλακέτα.lpf"), project(2, 1));
    write_file(dir.file("команды.ini"), "-V 1\n-C 1\n-A 包含.ini\n");
    write_file(dir.file("包含.ini"), "-P шрифт_字体.xml\n");
    write_file(dir.file("шрифт_字体.xml"), font);
    CliResult named = run_tarnwick(dir.path, "-Iкоманды.ini --review=обзор_电路板.html πλακέτα отчёт_报告");
    EXPECT_EQ(named.status, 0) << named.err;
    for (const char* text : {"команды.ini - 3: Including: 包含.ini 1", "Include file 包含.ini 1 done",
                             "Review page обзор_电路板.html written"})
        EXPECT_NE(named.err.find(text), std::string::npos) << text << "\n" << named.err;

    // The command file's names, and the font folder of the environment.
    fs::create_directory(dir.file("шрифты_Ω"));
    write_file(dir.file("шрифты_Ω/font.xml"), font);
    write_file(dir.file("Tarnwick.ini"), "-V 1\n-N πλακέτα 报告_Ω\n-C 1\n");
    CliResult from_file = run_tarnwick(dir.path, "", "", "VexlorFont=шрифты_Ω");
    EXPECT_EQ(from_file.status, 0) << from_file.err;
    for (const char* text : {"file names \"πλακέτα\" and \"报告_Ω\" loaded", "Font path: \"шрифты_Ω\""})
        EXPECT_NE(from_file.err.find(text), std::string::npos) << text << "\n" << from_file.err;

    CliResult missing = run_tarnwick(dir.path, "-I Ωплата板");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, std::string(BANNER) + "\n\nFatal error: Source file \"Ωплата板.lpf\" not found \n\n");
    EXPECT_EQ(list_dir(dir.path),
              "BottomPlace.gbr Tarnwick.ini TopPlace.gbr πλακέτα.lpf команды.ini обзор_电路板.html "
              "отчёт_报告.place шрифт_字体.xml шрифты_Ω 包含.ini 报告_Ω.place");
}

// On POSIX a name is bytes and is used as it is; Windows would put stand-ins for the bytes that are
// not UTF-8 and so name another file: there the name is refused, with a message, and nothing written.
TEST(NamesInAnyScript, ANameThatIsNotUtf8IsUsedAsItIsOrRefused) {
    ScratchDir dir;
    const std::string latin1 = "pl\xe4ttchen";
    write_file(dir.file(latin1 + ".lpf"), project(1, 0));
    write_file(dir.file("Tarnwick.ini"), "-N " + latin1 + "\n");
    CliResult result = run_tarnwick(dir.path, "");
    if (program_is_windows()) {
        EXPECT_EQ(result.status, 1);
        const std::string refusal = "\n\nFatal error: Name \"" + latin1 +
                                    ".lpf\" can't be used unchanged: it is not text in the program's code page "
                                    "(UTF-8)\n\n";
        EXPECT_EQ(ending(result.err, refusal), refusal);
        EXPECT_EQ(list_dir(dir.path), "Tarnwick.ini " + latin1 + ".lpf");
    } else {
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(list_dir(dir.path), "Tarnwick.ini " + latin1 + ".lpf " + latin1 + ".place");
    }
}

TEST(TerminalInput, SaysHowToGiveAProjectInsteadOfWaiting) {
    ScratchDir dir;
    const std::string program = tested_program();
    int terminal = -1;
    pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(dir.path.c_str()) != 0) _exit(99);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(98);
    }
    std::string output;
    char buffer[4096];
    ssize_t got = 0;
    // The terminal stays open and silent: a program that waited for input would never end.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        while ((got = read(terminal, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(got));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the program waited for a project on the terminal";
    }
    fcntl(terminal, F_SETFL, O_NONBLOCK);
    while ((got = read(terminal, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(got));
    close(terminal);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find("standard input is a terminal"), std::string::npos) << output;
    EXPECT_NE(output.find("Tarnwick < board.lpf"), std::string::npos) << output;
    EXPECT_EQ(list_dir(dir.path), "");
    // A file or a pipe on standard input is read as always.
    write_file(dir.file("board.lpf"), BOARD);
    EXPECT_EQ(shell(dir.path, "'" + tested_program() + "' < board.lpf > out.txt 2>/dev/null"), 0);
    EXPECT_EQ(shell(dir.path, "cat board.lpf | '" + tested_program() + "' > piped.txt 2>/dev/null"), 0);
    EXPECT_EQ(read_file(dir.file("out.txt")), read_file(dir.file("piped.txt")));
    EXPECT_NE(read_file(dir.file("out.txt")).find("Project: Edges"), std::string::npos);
}

TEST(CsvReadBack, QuotesInFieldsSurviveACsvReader) {
    ScratchDir dir;
    std::string text = replace_all(project(2, 0), "part: R2", "part: C\"2");
    write_file(dir.file("board.lpf"), text);
    write_file(dir.file("Tarnwick.ini"), "-F 2 \"Note \\\"x\\\"\"\n-I R1 \"say \\\"hi\\\", twice\"\n");
    ASSERT_EQ(run_tarnwick(dir.path, "board").status, 0);
    write_file(dir.file("read.py"),
               "import csv\nrows = list(csv.reader(open('board.place', newline='')))\n"
               "print('|'.join(rows[2]))\nfor row in rows[4:]:\n    print('|'.join(row))\n");
    ASSERT_EQ(shell(dir.path, "python3 read.py > rows.txt"), 0);
    EXPECT_EQ(read_file(dir.file("rows.txt")),
              "RefDes|Note \"x\"|Layer|LocationX|LocationY|Rotation\n"
              "C\"2||Top|0|100|270\n"
              "R1|say \"hi\", twice|Top|0|100|270\n"
              "\n\n");
}

TEST(LineEnds, EachCommandFileIsReadOnce) {
    // Only the carriage return directly before a line feed goes: a second one stays part of the
    // text, in the command file and in a file it includes (a reader that dropped them twice would
    // take both).
    ScratchDir dir;
    write_file(dir.file("board.lpf"), project(2, 0));
    write_file(dir.file("Tarnwick.ini"), "-F 2 Info\r\r\n-I R1 hello\r\r\n-A more.ini\r\n");
    write_file(dir.file("more.ini"), "-I R2 there\r\r\n");
    ASSERT_EQ(run_tarnwick(dir.path, "board").status, 0);
    const std::string report = read_file(dir.file("board.place"));
    EXPECT_NE(report.find("\"R1\",\"hello\r\",\"Top\","), std::string::npos) << report;
    EXPECT_NE(report.find("\"R2\",\"there\r\",\"Top\","), std::string::npos) << report;
}

TEST(FailingStandardOutput, IsAnErrorAndNeverDone) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), BOARD);
    EXPECT_EQ(shell(dir.path, "'" + tested_program() + "' < board.lpf > /dev/full 2> full.err"), 1);
    {
        const std::string expected =
            "\n\nFatal error: Can't write the report to standard output: No space left on device\n\n";
        EXPECT_EQ(ending(read_file(dir.file("full.err")), expected), expected);
    }
    EXPECT_EQ(shell(dir.path, "'" + tested_program() + "' < board.lpf >&- 2> closed.err"), 1);
    {
        const std::string expected =
            "\n\nFatal error: Can't write the report to standard output: Bad file descriptor\n\n";
        EXPECT_EQ(ending(read_file(dir.file("closed.err")), expected), expected);
    }
    EXPECT_EQ(shell(dir.path, "'" + tested_program() + "' --version > /dev/full 2> version.err"), 1);
    EXPECT_NE(read_file(dir.file("version.err")).find("No space left on device"), std::string::npos);

    // With standard output closed, no file the run opens takes its place: the plots stay whole.
    write_file(dir.file("font.xml"), read_file(source_path("examples/font.xml")));
    write_file(dir.file("Tarnwick.ini"), "-C 1\n");
    EXPECT_EQ(shell(dir.path, "'" + tested_program() + "' < board.lpf >&- 2>/dev/null"), 1);
    std::string plot = read_file(dir.file("TopPlace.gbr"));
    EXPECT_EQ(plot.substr(0, 4), "G04 ");
    EXPECT_EQ(plot.substr(plot.size() - 10), "M00*\nM02*\n");
    EXPECT_EQ(plot.find("Project:"), std::string::npos);
    EXPECT_EQ(temporary_files(dir.path), "");
}

TEST(FullDisk, PlotsAndReportAreWholeOrNotThere) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    ScratchDir inputs;
    write_file(inputs.file("board.lpf"), project(3, 6000));
    write_file(inputs.file("font.xml"), read_file(source_path("examples/font.xml")));
    write_file(inputs.file("plots.ini"), "-C 1\n-P " + inputs.file("font.xml") + "\n");
    const std::string run = "'" + tested_program() + "' -I" + inputs.file("plots.ini") + " " + inputs.file("board") + " ";

    {  // Earlier outputs present: the bottom plot does not fit.
        SmallFileSystem disk("64k");
        if (!disk.mounted) GTEST_SKIP() << "tmpfs cannot be mounted here";
        write_file(disk.dir.file("TopPlace.gbr"), "earlier top");
        write_file(disk.dir.file("BottomPlace.gbr"), "earlier bottom");
        write_file(disk.dir.file("board.place"), "earlier report");
        EXPECT_EQ(shell(disk.dir.path, run + "board 2> err.txt"), 1);
        {
            const std::string expected =
                "\n\nFatal error: Can't write output file \"BottomPlace.gbr\": No space left on device\n\n";
            EXPECT_EQ(ending(read_file(disk.dir.file("err.txt")), expected), expected);
        }
        // The top plot was complete before the bottom one failed; the rest is as it was.
        std::string top = read_file(disk.dir.file("TopPlace.gbr"));
        EXPECT_EQ(top.substr(0, 4), "G04 ");
        EXPECT_EQ(top.substr(top.size() - 10), "M00*\nM02*\n");
        EXPECT_EQ(read_file(disk.dir.file("BottomPlace.gbr")), "earlier bottom");
        EXPECT_EQ(read_file(disk.dir.file("board.place")), "earlier report");
        EXPECT_EQ(temporary_files(disk.dir.path), "");
    }
    {  // No earlier outputs: nothing but the complete top plot is left.
        SmallFileSystem disk("64k");
        EXPECT_EQ(shell(disk.dir.path, run + "board 2> err.txt"), 1);
        EXPECT_EQ(list_dir(disk.dir.path), "TopPlace.gbr err.txt");
    }
    {  // The report itself does not fit.
        SmallFileSystem disk("64k");
        write_file(disk.dir.file("board.place"), "earlier report");
        EXPECT_EQ(shell(disk.dir.path, "'" + tested_program() + "' " + inputs.file("board") + " board 2> err.txt"), 1);
        {
            const std::string expected =
                "\n\nFatal error: Can't write output file \"board.place\": No space left on device\n\n";
            EXPECT_EQ(ending(read_file(disk.dir.file("err.txt")), expected), expected);
        }
        EXPECT_EQ(read_file(disk.dir.file("board.place")), "earlier report");
        EXPECT_EQ(list_dir(disk.dir.path), "board.place err.txt");
    }
}

TEST(Interruption, RemovesTemporaryFilesAndEndsWithTheSignal) {
    // The font comes through a named pipe that nobody writes: the run waits there with its
    // report's temporary file open, and is interrupted while it waits.
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        ScratchDir dir;
        write_file(dir.file("board.lpf"), BOARD);
        write_file(dir.file("board.place"), "earlier report");
        ASSERT_EQ(mkfifo(dir.file("font.fifo").c_str(), 0600), 0);
        write_file(dir.file("Tarnwick.ini"), "-C 1\n-P font.fifo\n");
        pid_t child = start_quiet_run(dir.path, true);
        ASSERT_GE(child, 0);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (temporary_files(dir.path).empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_NE(temporary_files(dir.path), "");
        kill(child, signal_number);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << signal_number;
        EXPECT_EQ(WTERMSIG(status), signal_number);
        EXPECT_EQ(temporary_files(dir.path), "") << signal_number;
        EXPECT_EQ(read_file(dir.file("board.place")), "earlier report");
    }
}

TEST(Interruption, DuringALargeRunLeavesNoPlotBehind) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), project(300000, 0));
    write_file(dir.file("font.xml"), read_file(source_path("examples/font.xml")));
    write_file(dir.file("Tarnwick.ini"), "-C 1\n");
    write_file(dir.file("TopPlace.gbr"), "earlier top");
    pid_t child = start_quiet_run(dir.path, false);
    ASSERT_GE(child, 0);
    // Interrupted as soon as the top plot is being written.
    bool seen = false;
    int status = 0;
    while (!seen && waitpid(child, &status, WNOHANG) == 0) {
        for (const auto& entry : fs::directory_iterator(dir.path))
            seen = seen || entry.path().filename().string().rfind("TopPlace.gbr.tmp", 0) == 0;
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_TRUE(seen) << "the run ended before its plot was seen";
    kill(child, SIGINT);
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(temporary_files(dir.path), "");
    EXPECT_EQ(read_file(dir.file("TopPlace.gbr")), "earlier top");
    EXPECT_FALSE(file_exists(dir.file("board.place")));
}
