// The executable fed with broken, absurd and hostile input. Whatever it gets, a run
// must end with status 0, or with status 1 and a message; it must never crash,
// hang, trip a sanitizer, print "nan" or "inf", leave a partial report, or write a
// file it was not asked to write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "test_support.h"

namespace {

struct HostileCase {
    HostileCase(std::string case_name, std::map<std::string, std::string> case_files, std::string case_arguments = "board",
                std::string case_input = "", std::string case_environment = "",
                std::set<std::string> case_may_write = {"board.place"})
        : name(std::move(case_name)),
          files(std::move(case_files)),
          arguments(std::move(case_arguments)),
          input(std::move(case_input)),
          environment(std::move(case_environment)),
          may_write(std::move(case_may_write)) {}

    std::string name;
    std::map<std::string, std::string> files;  // written into the run's directory; "<directory>" makes one
    std::string arguments;
    std::string input;             // standard input
    std::string environment;       // prefixed to the command
    std::set<std::string> may_write;  // files a successful run may create or replace
};

std::string example_project() { return read_file(source_path("examples/demo_board.lpf")); }
std::string example_font() { return read_file(source_path("examples/font.xml")); }

const std::string SMALL_PROJECT =
    "project_name: \"Small\"\ndefault_glue_width: \"254000\"\n[footprints]\nname: \"R0603\"\nunits: MIL\n"
    "centroid: 0 0 10 90\nadhesive: 0 20 0 0\nsel_rect: -50 -25 50 25\nn_pins: 2\npin: 1 0 -30 0 0\n"
    "top_pad: 2 30 35 0 0 0\npin: 2 32 30 0 0\ntop_pad: 1 32 35 0 0 0\n\n[board]\n[parts]\npart: R1\n"
    "shape: \"R0603\"\nvalue: \"1k\"\npos: 25400000 0 1 45 1\n\npart: C1\nshape: \"R0603\"\npos: -1000 5 0 270 0\n\n"
    "[nets]\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

const std::regex NOT_A_NUMBER("(^|[^A-Za-z])(nan|inf)([^A-Za-z]|$)", std::regex::icase);

std::map<std::string, std::string> directory_files(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? read_file(entry.path().string()) : std::string("<directory>");
    return files;
}

// The console with the command-file lines that messages quote removed: only what the
// program computed is checked for "nan" and "inf".
std::string without_echoed_lines(std::string console, const HostileCase& hostile) {
    for (const auto& [name, content] : hostile.files) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".ini") continue;
        std::istringstream lines(content);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.empty()) continue;
            for (size_t at = console.find(line); at != std::string::npos; at = console.find(line, at))
                console.erase(at, line.size());
        }
    }
    return console;
}

void check_run(const HostileCase& hostile) {
    SCOPED_TRACE(hostile.name);
    ScratchDir dir;
    for (const auto& [name, content] : hostile.files) {
        if (content == "<directory>") {
            std::filesystem::create_directory(dir.file(name));
        } else {
            write_file(dir.file(name), content);
        }
    }
    const std::map<std::string, std::string> before = directory_files(dir.path);
    CliResult result = run_tarnwick(dir.path, hostile.arguments, hostile.input,
                                    "ASAN_OPTIONS=exitcode=99 UBSAN_OPTIONS=exitcode=98:print_stacktrace=1 " +
                                        hostile.environment + " timeout 60");
    ASSERT_TRUE(result.status == 0 || result.status == 1) << "status " << result.status << "\n" << result.err.substr(0, 3000);
    EXPECT_EQ(result.err.find("runtime error"), std::string::npos) << result.err.substr(0, 3000);
    EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err.substr(0, 3000);
    EXPECT_EQ(result.err.rfind(BANNER, 0), 0u);
    if (result.status == 1) {
        EXPECT_GT(result.err.size(), std::string(BANNER).size()) << "no message";
    } else {
        EXPECT_EQ(result.err.substr(result.err.size() - 7), "\nDone!\n");
    }
    EXPECT_FALSE(std::regex_search(result.out, NOT_A_NUMBER));
    EXPECT_FALSE(std::regex_search(without_echoed_lines(result.err, hostile), NOT_A_NUMBER)) << result.err.substr(0, 3000);

    const std::map<std::string, std::string> after = directory_files(dir.path);
    for (const auto& [name, content] : before) {
        auto found = after.find(name);
        ASSERT_NE(found, after.end()) << name << " was removed";
        if (result.status == 1 || hostile.may_write.count(name) == 0) {
            EXPECT_EQ(found->second, content) << name;
        }
    }
    for (const auto& [name, content] : after) {
        if (before.count(name) != 0) continue;
        EXPECT_EQ(result.status, 0) << name << " written by a failed run";
        EXPECT_EQ(hostile.may_write.count(name), 1u) << name << " was not asked for";
        EXPECT_FALSE(std::regex_search(content, NOT_A_NUMBER)) << name;
        if (name.size() > 6 && name.substr(name.size() - 6) == ".place") {
            EXPECT_EQ(content.back(), '\n') << name << " is not complete";
        }
    }
}

std::vector<HostileCase> garbage_cases() {
    std::mt19937 random(20261209);
    std::string garbage;
    for (int i = 0; i < 65536; ++i) garbage.push_back(static_cast<char>(random() & 0xff));
    std::string with_nuls = example_project();
    for (size_t i = 7; i < with_nuls.size(); i += 53) with_nuls[i] = '\0';
    std::string megabyte(1 << 20, 'x');
    const std::string plots = "-C 1\n-P font.xml\n";
    const std::set<std::string> plot_outputs = {"board.place", "TopPlace.gbr", "BottomPlace.gbr"};
    return {
        {"empty project", {{"board.lpf", ""}}},
        {"empty command file", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", ""}}},
        {"binary project", {{"board.lpf", garbage}}},
        {"binary command file", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", garbage}}},
        {"binary font", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots}, {"font.xml", garbage}}, "board", "", "",
         plot_outputs},
        {"binary on standard input", {}, "", garbage, "", {}},
        {"NUL bytes inside lines", {{"board.lpf", with_nuls}, {"Tarnwick.ini", std::string("-F 1\0 x\n-T\0 2\n", 14)}}},
        {"megabyte part line", {{"board.lpf", replaced(SMALL_PROJECT, "part: R1", "part: R1" + megabyte)}}},
        {"megabyte footprint name",
         {{"board.lpf", replaced(replaced(SMALL_PROJECT, "name: \"R0603", "name: \"R0603" + megabyte), "shape: \"R0603",
                                 "shape: \"R0603" + megabyte)}}},
        {"megabyte value", {{"board.lpf", replaced(SMALL_PROJECT, "value: \"1k", "value: \"" + megabyte)}}},
        {"megabyte command line", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", "-N " + megabyte + "\n-I R1 " + megabyte + "\n" + megabyte + " 1\n"}}},
        {"example with every output on",
         {{"board.lpf", example_project()}, {"Tarnwick.ini", plots + "-F 4\n-H 13\n-H 12\n-H 3\n"}, {"font.xml", example_font()}},
         "board", "", "", plot_outputs},
    };
}

std::vector<HostileCase> number_cases() {
    std::vector<HostileCase> cases;
    const std::vector<std::string> numbers = {"1e308", "-1e308", "-2147483649", "99999999999", "4294967295",
                                              "1e999", "nan", "inf", "-0", "0x7fffffff", ""};
    const std::string plots = "-C 2\n-P font.xml\n-G 1 1 1 1\n";
    for (const std::string& n : numbers) {
        std::string project = SMALL_PROJECT;
        project = replaced(project, "pos: 25400000 0 1 45 1", "pos: " + n + " " + n + " " + n + " " + n + " " + n);
        project = replaced(project, "centroid: 0 0 10 90", "centroid: 0 " + n + " " + n + " " + n);
        project = replaced(project, "adhesive: 0 20 0 0", "adhesive: 0 " + n + " " + n + " " + n);
        project = replaced(project, "sel_rect: -50 -25 50 25", "sel_rect: " + n + " " + n + " " + n + " " + n);
        project = replaced(project, "pin: 2 32 30 0 0", "pin: 2 " + n + " " + n + " 0 0");
        project = replaced(project, "default_glue_width: \"254000", "default_glue_width: \"" + n);
        cases.push_back({"project numbers " + n,
                         {{"board.lpf", project}, {"Tarnwick.ini", plots + "-U M\n-F 3\n-H 9\n-H 13\n-H 6\n-H 14\n"},
                          {"font.xml", example_font()}},
                         "board", "", "", {"board.place", "TopPlace.gbr", "BottomPlace.gbr"}});
        std::string commands = "-V 1\n-R Top " + n + " " + n + " " + n + "\n-R " + n + "\n-H " + n + " " + n +
                               "\n-C " + n + " " + n + " " + n + "\n-T " + n + "\n-D " + n + "\n-F " + n + "\n-I R1 x " +
                               n + " " + n + "\nR0603 " + n + " " + n + " " + n + " " + n + " " + n + " " + n +
                               "\n-G " + n + "\n-M " + n + "\n-U M\n-C 1 " + n + " " + n + "\n-P font.xml\n";
        cases.push_back({"command numbers " + n,
                         {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", commands}, {"font.xml", example_font()}},
                         "board", "", "", {"board.place", "TopPlace.gbr", "BottomPlace.gbr"}});
    }
    for (const char* surplus : {"pos: 1 2", "pos: 1 2 0 90 0 5 6 7 8 9", "pos:", "pos: x y z"})
        cases.push_back({std::string("pos line ") + surplus, {{"board.lpf", replaced(SMALL_PROJECT, "pos: -1000 5 0 270 0", surplus)}}});
    for (const char* missing : {"centroid:", "adhesive: 0", "sel_rect:", "n_pins:", "pin: ", "top_pad:", "units:"})
        cases.push_back({std::string("missing numbers ") + missing,
                         {{"board.lpf", replaced(replaced(SMALL_PROJECT, "centroid: 0 0 10 90", missing),
                                                 "top_pad: 2 30 35 0 0 0", missing)}}});
    for (const char* angle : {"-90", "-1", "4294967295", "2147483648", "360", "1000000", "-99999999999"}) {
        for (const char* side : {"2", "3", "-1", "99999999999"}) {
            cases.push_back({std::string("angle ") + angle + " side " + side,
                             {{"board.lpf", replaced(SMALL_PROJECT, "pos: -1000 5 0 270 0", std::string("pos: 1 2 ") + side + " " + angle + " 0")},
                              {"Tarnwick.ini", "-F 1\n-R Bottom 0 -270 -1\n-C 1\n-P font.xml\n"},
                              {"font.xml", example_font()}},
                             "board", "", "", {"board.place", "TopPlace.gbr", "BottomPlace.gbr"}});
        }
    }
    return cases;
}

std::vector<HostileCase> quote_and_file_cases() {
    std::string unclosed = SMALL_PROJECT;
    unclosed = replaced(unclosed, "project_name: \"Small\"", "project_name: \"Small");
    unclosed = replaced(unclosed, "name: \"R0603\"", "name: \"R0603");
    unclosed = replaced(unclosed, "shape: \"R0603\"", "shape: \"R0603");
    unclosed = replaced(unclosed, "value: \"1k\"", "value: \"1k");
    const std::string quotes =
        "-V 1\n-N \"a\n-P \"x\n-F 0 \"open\n-I \"R1 x\n\"FP 1\n-H 0 5 \"x\n-A \"nowhere\n-E \"unclosed\n";
    std::string garbage_font = "<draw:page draw:name=\"A\" " + std::string(100000, 'q') + ">" +
                               "<draw:line draw:layer=\"layout\" svg:x1=\"0\" svg:y1=\"0\" svg:x2=\"1\" svg:y2=\"1\"/></draw:page>";
    std::string flat_font =
        "<draw:page draw:name=\"T\"><draw:line draw:layer=\"layout\" svg:x1=\"0\" svg:y1=\"3\" svg:x2=\"5\" svg:y2=\"3\"/>"
        "</draw:page><draw:page draw:name=\"o\"><draw:line draw:layer=\"layout\" svg:x1=\"1\" svg:y1=\"3\" svg:x2=\"2\" "
        "svg:y2=\"3\"/></draw:page>";
    const std::string plots = "-C 1\n";
    const std::set<std::string> plot_outputs = {"board.place", "TopPlace.gbr", "BottomPlace.gbr"};
    return {
        {"quotes that never close in the project", {{"board.lpf", unclosed}}},
        {"quotes that never close in the command file", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", quotes}}},
        {"font with a 100 KB tag", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots}, {"font.xml", garbage_font}},
         "board", "", "", plot_outputs},
        {"font with all strokes on one line", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots}, {"font.xml", flat_font}},
         "board", "", "", plot_outputs},
        {"font directory from the environment",
         {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots}, {"fonts", "<directory>"}}, "board", "",
         "VexlorFont=fonts", plot_outputs},
        {"font path is a directory", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots}, {"font.xml", "<directory>"}}},
        {"source is a directory", {{"board.lpf", "<directory>"}}},
        {"source named with a dot is a directory", {{"board.lpf", SMALL_PROJECT}}, "."},
        {"command file is a directory", {{"board.lpf", SMALL_PROJECT}, {"cmd", "<directory>"}}, "-Icmd board"},
        {"include of a directory", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", "-A .\n-A /\n"}}},
        {"destination is a directory", {{"board.lpf", SMALL_PROJECT}, {"out.place", "<directory>"}}, "board out"},
        {"plot file is a directory",
         {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", plots + "-P font.xml\n"}, {"font.xml", example_font()},
          {"TopPlace.gbr", "<directory>"}},
         "board", "", "", {}},
        {"earlier report survives a failed run", {{"board.lpf", "[footprints]\n[board]\n"}, {"board.place", "earlier"}}},
    };
}

}  // namespace

TEST(HostileInput, GarbageBinaryNulBytesAndLongLines) {
    for (const HostileCase& hostile : garbage_cases()) check_run(hostile);
}

TEST(HostileInput, AbsurdMissingAndSurplusNumbers) {
    for (const HostileCase& hostile : number_cases()) check_run(hostile);
}

TEST(HostileInput, UnclosedQuotesFontsAndDirectories) {
    for (const HostileCase& hostile : quote_and_file_cases()) check_run(hostile);
}

TEST(HostileInput, ProjectCutOffAfterEveryLine) {
    std::string project = example_project();
    size_t lines = 0;
    for (size_t end = project.find('\n'); end != std::string::npos; end = project.find('\n', end + 1)) {
        HostileCase cut{"cut after line " + std::to_string(++lines), {{"board.lpf", project.substr(0, end + 1)}}};
        check_run(cut);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(lines, 300u);
}

TEST(HostileInput, IncludeChainsAndSelfInclusion) {
    ScratchDir dir;
    HostileCase chain{"include chain of 10000 files", {{"board.lpf", SMALL_PROJECT}}};
    for (int i = 0; i < 10000; ++i)
        chain.files["inc" + std::to_string(i) + ".ini"] = "-T 0.5\n-A inc" + std::to_string(i + 1) + ".ini\n";
    chain.files["Tarnwick.ini"] = "-V 1\n-A inc0.ini\n";
    check_run(chain);
    check_run({"self inclusion", {{"board.lpf", SMALL_PROJECT}, {"Tarnwick.ini", "-V 1\n-A Tarnwick.ini\n-D 0.1\n"}}});
}
