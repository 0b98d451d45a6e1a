#include "config/command_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "reader_fixture.h"
#include "test_support.h"

namespace {

// Runs the reader in a scratch directory so that include files are found by their bare names.
struct IncludeDir {
    ScratchDir dir;
    std::string previous;
    IncludeDir() {
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        if (chdir(dir.path.c_str()) != 0) throw std::runtime_error("chdir");
    }
    ~IncludeDir() {
        if (chdir(previous.c_str()) != 0) std::abort();
    }
    void add(const std::string& name, const std::string& text) { write_file(dir.file(name), text); }
};

}  // namespace

TEST(ExtractQuoted, EscapesLimitsAndMissingQuote) {
    std::string dest;
    std::string_view source = R"(x "a \"b\" c" rest)";
    size_t stop = extract_quoted(dest, source, 127);
    EXPECT_EQ(dest, R"(a "b" c)");
    EXPECT_EQ(source[stop], '"');
    EXPECT_EQ(source.substr(stop + 1), " rest");
    extract_quoted(dest, R"("back\slash")", 127);
    EXPECT_EQ(dest, R"(back\slash)");
    stop = extract_quoted(dest, "\"abcdef\"", 3);
    EXPECT_EQ(dest, "abc");
    EXPECT_EQ(stop, 4u);
    stop = extract_quoted(dest, "\"open to the end", 127);
    EXPECT_EQ(dest, "open to the end");
    EXPECT_EQ(stop, 16u);
}

TEST(CommandFileLines, CommentsBlanksAndOverrideLines) {
    CommandFileRun run;
    run.read("; a comment line\n\n   \t\n-T 0.5 ; scale\n  -T 0.5\n");
    // The indented command is an override line named -T with a wrong count.
    EXPECT_EQ(run.messages(), "\n  t.ini  5: Invalid parameter count -T 0.5, record skipped");
    EXPECT_DOUBLE_EQ(run.settings.target_scale, 0.5);
    EXPECT_EQ(run.lines, 5);
}

TEST(CommandFileLines, SemicolonCutsEvenInsideQuotes) {
    CommandFileRun run;
    run.read("-P \"a;b.xml\"\n");
    EXPECT_EQ(run.settings.font_file, "a");
}

TEST(CommandFileLines, LongLinesAreExaminedInPieces) {
    CommandFileRun run;
    run.read("-V 1\n" + std::string(2000, ' ') + "\n" + std::string(1023, ' ') + "\n");
    EXPECT_EQ(run.lines, 1 + 2 + 2);
}

TEST(CommandFileLines, WindowsLineEndsReadLikeUnixOnes) {
    CommandFileRun unix_run, windows_run;
    unix_run.read("-V 1\n-N a.lpf b.txt\nFP 1\n-E\n");
    windows_run.read("-V 1\r\n-N a.lpf b.txt\r\nFP 1\r\n-E\r\n");
    EXPECT_EQ(windows_run.console.str(), unix_run.console.str());
    EXPECT_EQ(windows_run.settings.default_destination_name, "b.txt");
}

TEST(LoadSummary, CountsAndPlurals) {
    CommandFileRun run;
    run.read("-V 1\n-I R1 x\nFP 1\n-U M\n-Q\n");
    EXPECT_EQ(run.console.str().substr(run.console.str().rfind("\n\n   5 lines")),
              "\n\n   5 lines examined\n   2 valid embedded commands found\n   1 info record loaded\n"
              "   1 exception loaded\n\n");
    CommandFileRun two;
    two.read("-V 1\n-I \"R1 R2\" x\nA 1\nB 1\n-V 0\n");
    std::string out = two.console.str();
    EXPECT_NE(out.find("   2 info records loaded\n   2 exceptions loaded\n\n"), std::string::npos);
    CommandFileRun none;
    none.read("-V 1\n");
    EXPECT_NE(none.console.str().find("   0 info records loaded\n   0 exceptions loaded\n\n"), std::string::npos);
}

TEST(LoadSummary, QuietFileEndsWithTwoNewlinesOnly) {
    CommandFileRun run;
    run.read("-T 1\n");
    EXPECT_EQ(run.console.str(), "\n\n");
}

TEST(SoftEndOfFile, EndsReadingAndPrintsItsWord) {
    CommandFileRun run;
    run.read("-E Stop here\n-T 0.2\n");
    EXPECT_EQ(run.console.str(), "\n\n  t.ini - 1: <EOF>: Stop\n\n\n");
    EXPECT_DOUBLE_EQ(run.settings.target_scale, 1.0);
    EXPECT_EQ(run.valid_commands, 1);
    EXPECT_EQ(run.lines, 1);
    CommandFileRun quoted;
    quoted.read("-E \"all done\"\n");
    EXPECT_EQ(quoted.console.str(), "\n\n  t.ini - 1: <EOF>: all done\n\n\n");
    EXPECT_EQ(verbose_messages("-E\n"), "\n  t.ini - 2: Soft EOF found");
}

TEST(IncludeFiles, SettingsStayAndLinesAreCounted) {
    IncludeDir dir;
    dir.add("inner.ini", "-T 0.3\n-U M\n");
    CommandFileRun run;
    run.read("-V 1\n-A inner.ini\n-D 1\n");
    EXPECT_DOUBLE_EQ(run.settings.target_scale, 0.3);
    EXPECT_DOUBLE_EQ(run.settings.default_glue_spot_size, 1 / 25.4);
    EXPECT_EQ(run.lines, 5);
    EXPECT_EQ(run.valid_commands, 3);  // -V, -T, -D; includes and units never count
    std::string out = run.console.str();
    EXPECT_NE(out.find("\n\n  t.ini - 2: Including: inner.ini 1\n  inner.ini - 1: Target Scale set to 0.300"),
              std::string::npos);
    EXPECT_NE(out.find("\n\n  Include file inner.ini 1 done\n"), std::string::npos);
}

TEST(IncludeFiles, QuotedNamesMissingNamesAndMissingFiles) {
    IncludeDir dir;
    dir.add("with blank.ini", "-T 0.4\n");
    CommandFileRun run;
    const std::string expected_start =
        "\n\n  t.ini - 2: Including: with blank.ini 1\n  with blank.ini - 1: Target Scale set to 0.400\n\n  "
        "Include file with blank.ini 1 done\n";
    EXPECT_EQ(verbose_messages("-A \"with blank.ini\"\n-A\n-A nowhere.ini\n", &run).substr(0, expected_start.size()),
              expected_start);
    EXPECT_DOUBLE_EQ(run.settings.target_scale, 0.4);
    std::string out = run.console.str();
    EXPECT_NE(out.find("\n  t.ini - 3: Missing file name -A"), std::string::npos);
    EXPECT_NE(out.find("\n  t.ini - 4: Unable to open nowhere.ini for input"), std::string::npos);
    CommandFileRun quiet;
    quiet.read("-A nowhere.ini\n");
    EXPECT_EQ(quiet.console.str(), "\n\n");
}

TEST(IncludeFiles, DirectoryIsAFileThatCannotBeOpened) {
    IncludeDir dir;
    CommandFileRun run;
    EXPECT_EQ(verbose_messages("-A .\n-A /\n-T 0.5\n", &run),
              "\n  t.ini - 2: Unable to open . for input\n  t.ini - 3: Unable to open / for input"
              "\n  t.ini - 4: Target Scale set to 0.500");
}

TEST(IncludeFiles, SelfInclusionStopsAtTheDepthLimit) {
    IncludeDir dir;
    dir.add("self.ini", "-V 1\n-A self.ini\n");
    CommandFileRun run;
    std::ifstream in("self.ini");
    CommandReader reader{run.settings, run.info, run.overrides, run.console};
    int lines = read_command_file(reader, read_text_stream(in), "self.ini");
    EXPECT_EQ(lines, 18);                       // read nine times, two lines each
    EXPECT_EQ(reader.valid_command_count, 9);  // one -V per reading
    EXPECT_EQ(reader.include_depth, 0);
    std::string out = run.console.str();
    EXPECT_NE(out.find("\n  Include limit reached, self.ini - 2: Ignored: -A self.ini "), std::string::npos);
    EXPECT_NE(out.find("Including: self.ini 8"), std::string::npos);
    EXPECT_EQ(out.find("Including: self.ini 9"), std::string::npos);
}

TEST(IncludeFiles, SoftEndOfFileInAnIncludeEndsOnlyThatFile) {
    IncludeDir dir;
    dir.add("inner.ini", "-T 0.3\n-E\n-T 0.9\n");
    CommandFileRun run;
    run.read("-A inner.ini\n-D 0.5\n");
    EXPECT_DOUBLE_EQ(run.settings.target_scale, 0.3);
    EXPECT_DOUBLE_EQ(run.settings.default_glue_spot_size, 0.5);
    EXPECT_EQ(run.lines, 2 + 2);
}
