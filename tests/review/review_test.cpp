// The review page's data and the page as the program writes it: what the board data hold for a
// small project, that no text can end the page's script element, and the --review switch through
// the executable (names, what else it changes, the exit status).
#include "review/review.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "common/text.h"
#include "driver/records_and_rotations.h"
#include "project/project_builder.h"
#include "review/page_template.h"
#include "test_support.h"

namespace {

// One footprint in mils: a 40 x 20 mil rectangle pad on each side of the centroid, 100 mil apart,
// and a body outline; the board 2 x 1 inch.
const std::string FOOTPRINT = footprint_block(
    "R1206", "MIL",
    "centroid: 0 0 0 0\nsel_rect: -100 -50 100 50\nn_pins: 2\npin: 1 0 -50 0 0\n  top_pad: 3 20 20 20 0\n"
    "pin: 2 0 50 0 0\n  top_pad: 3 20 20 20 0\noutline_polyline: 5 -80 -30 1 0 4\nnext_corner: 80 -30 0\n"
    "next_corner: 80 30 0\nnext_corner: -80 30 0\nclose_polyline: 0\n");

// A logo: no pins, no outline lines.
const std::string LOGO = footprint_block("LOGO", "MIL", "sel_rect: -10 -10 10 10\nn_pins: 0\n");

const std::string BOARD = "outline: 4 0\n  corner: 1 0 0 0\n  corner: 2 50800000 0 0\n"
                          "  corner: 3 50800000 25400000 0\n  corner: 4 0 25400000 0\n";

// The project with `parts`, read as a run reads it, and the page's data for it.
struct Board {
    Settings settings;
    ReportUnits units = report_units(settings);
    InfoTable info;
    Project project;
    geometry::BoardRings board;
    CheckFindings findings;

    explicit Board(const std::string& parts, const std::string& info_text = "") {
        std::string text = "project_name: \"Review <test>\"\n[footprints]\n" + FOOTPRINT + LOGO + "[board]\n" + BOARD +
                           "[parts]\n" + parts + "[nets]\n[end]\n";
        project = load_with_copper(text);
        board = geometry::board_rings(project);
        if (!info_text.empty()) info.add(InfoRecord{"R1", info_text, 0, -1.0});
        apply_records_and_rotations(project.parts, info, settings);
        findings = check_placement(CheckInput{units, info, OverrideTable{}, project, board});
    }
    std::string data() const { return review_data(ReviewInput{units, project, board, findings}); }
};

}  // namespace

TEST(ReviewData, PartsPadsAndOutlinesOnTheBoard) {
    // R1 on the top at (1, 0.5) in, R2 on the bottom at (0.5, 0.5) in turned a quarter.
    Board board(part_block("R1", "R1206", 25400000, 12700000, 0, 0) +
                part_block("R2", "R1206", 12700000, 12700000, 1, 90));
    const std::string data = board.data();
    // The report's units, drawing coordinates in ten-thousandths of an inch, the report's origin.
    const std::string start =
        "{\"version\":3,\"encoding\":\"utf-8\",\"project\":\"Review \\u003ctest>\",\"units\":{\"word\":\"in\","
        "\"per_inch\":1.00000,\"decimals\":4},\"scale\":10000,\"origin\":[0.00000,0.00000],";
    EXPECT_EQ(data.substr(0, start.size()), start);
    // The board's outline as one closed contour, x and y in turn.
    EXPECT_NE(data.find("\"outlines\":[[0,0,20000,0,20000,10000,0,10000]]"), std::string::npos);
    // R1's pads 0.05 in left and right of its centre, 0.04 long along their axis and 0.02 across,
    // as polygons on the board; its body outline moved there; the report's pin count.
    EXPECT_NE(data.find("{\"ref\":\"R1\",\"footprint\":\"R1206\",\"value\":\"1k\",\"info\":\"\",\"side\":\"top\","
                        "\"x\":1.00000,\"y\":0.50000,\"x_text\":\"1.0000\",\"y_text\":\"0.5000\",\"rotation\":0,"
                        "\"class\":\"SMD\",\"pins\":2,\"excluded\":false,\"glue\":[[10000,5000,250]],"
                        "\"pads\":{\"top\":[{\"polygon\":[9700,5100,9300,5100,9300,4900,9700,4900]},"
                        "{\"polygon\":[10700,5100,10300,5100,10300,4900,10700,4900]}]},"),
              std::string::npos)
        << data;
    // The pin-1 dot half as wide as the pad's smaller side (0.02 in).
    EXPECT_NE(data.find("\"outline\":[{\"width\":50,\"points\":[9200,4700,10800,4700,10800,5300,9200,5300],"
                        "\"closed\":true}],\"pin1\":[9500,5000,50]"),
              std::string::npos);
    // R2: on the bottom its pads are bottom copper, mirrored and turned: pin 1 (x -0.05 in the
    // footprint) mirrored to +0.05, turned a quarter clockwise to y -0.05.
    EXPECT_NE(data.find("\"pads\":{\"bottom\":[{\"polygon\":[4900,4700,4900,4300,5100,4300,5100,4700]},"),
              std::string::npos);
    EXPECT_NE(data.find("\"pin1\":[5000,4500,"), std::string::npos);
    EXPECT_NE(data.find("{\"ref\":\"R2\",\"footprint\":\"R1206\",\"value\":\"1k\",\"info\":\"\",\"side\":\"bottom\""),
              std::string::npos);
    // A part without pins has no pads, no outline and no pin 1.
    Board logo(part_block("L1", "LOGO", 0, 0, 0, 0));
    EXPECT_NE(logo.data().find("\"pads\":{},\"outline\":[],\"pin1\":null,\"findings\":["), std::string::npos)
        << logo.data();
    // Every kind is listed, none found.
    EXPECT_NE(data.find("\"findings\":[],\"kinds\":[{\"kind\":\"pseudo-part\",\"title\":\"Pseudo-part in the report\","
                        "\"severity\":\"error\"},"),
              std::string::npos);
}

TEST(ReviewData, FindingsNameTheirPartsAndTextsNeverEndTheScript) {
    // R1 twice and off the board; its information text full of what could break the page.
    Board board(part_block("R1", "R1206", 25400000, 12700000, 0, 0) +
                    part_block("R1", "R1206", 127000000, 12700000, 0, 0),
                "</script><!-- \"quoted\" \\ back\x01");
    const std::string data = board.data();
    EXPECT_EQ(data.find('<'), std::string::npos);
    EXPECT_NE(data.find("\"info\":\"\\u003c/script>\\u003c!-- \\\"quoted\\\" \\\\ back\\u0001\""), std::string::npos);
    // Each finding names its parts, and each part its findings.
    EXPECT_NE(data.find("\"findings\":[{\"severity\":\"error\",\"kind\":\"off-board\",\"title\":\"Placement point off "
                        "the board\",\"subject\":\"R1206\",\"parts\":[1],\"cause\":\"placement point 3.0000 in past the "
                        "board edge\",\"fix\":\"\"},{\"severity\":\"error\",\"kind\":\"duplicate\",\"title\":\"Duplicate "
                        "designator\",\"subject\":\"R1\",\"parts\":[0,1],"),
              std::string::npos)
        << data;
    EXPECT_NE(data.find("\"pin1\":[49500,5000,50],\"findings\":[0,1]}"), std::string::npos) << data;
}

TEST(ReviewData, TextsAreUtf8AsTheyAreElseInTheirCodePage) {
    // Windows-1251 bytes in a value ("Пи"); the footprint name and the project name stay ASCII.
    const std::string cyrillic_value = "\xCF\xE8";
    const struct {
        std::string value;
        const char* named;
        const char* encoding;
        std::string shown;
    } cases[] = {
        {"\xC2\xB5" "F", nullptr, "utf-8", "\xC2\xB5" "F"},                  // valid UTF-8: as it is
        {"\xB5" "F", nullptr, "windows-1252", "\xC2\xB5" "F"},                 // else Windows-1252
        {cyrillic_value, nullptr, "windows-1252", "\xC3\x8F\xC3\xA8"},       // which misreads Cyrillic
        {cyrillic_value, "windows-1251", "windows-1251", "\xD0\x9F\xD0\xB8"},  // unless it is named
        {"\xC2\xB5" "F", "windows-1251", "windows-1251", "\xD0\x92\xC2\xB5" "F"},
    };
    for (const auto& c : cases) {
        Board board(part_block("R1", "R1206", 25400000, 12700000, 0, 0, 0, c.value));
        ReviewInput input{board.units, board.project, board.board, board.findings};
        input.code_page = c.named != nullptr ? find_code_page(c.named) : nullptr;
        const std::string data = review_data(input);
        EXPECT_NE(data.find(std::string("\"encoding\":\"") + c.encoding + "\""), std::string::npos) << c.encoding;
        EXPECT_NE(data.find("\"value\":\"" + c.shown + "\""), std::string::npos) << c.encoding << ": " << data.substr(0, 400);
    }
}

TEST(ReviewData, APartFarOffTheScaleIsWrittenWithAllItsDigits) {
    // 1e44 nm is about 3.9e36 inches: 37 digits before the decimal point.
    Board board("part: R1\nshape: \"R1206\"\nvalue: \"1k\"\npos: -1e44 0 0 0 0\n\n");
    ASSERT_EQ(board.project.parts.size(), 1u);
    const std::string x = format_text("%.5f", board.project.parts[0].x);
    ASSERT_GT(x.size(), 40u);
    EXPECT_NE(board.data().find("\"x\":" + x + ",\"y\":0.00000,"), std::string::npos) << x;
}

TEST(ReviewPage, TheTemplateHoldsOnePlaceForTheDataAndNeedsNoNetwork) {
    const std::string page = review_page_template();
    const std::string placeholder = "<script id=\"board-data\" type=\"application/json\">@BOARD_DATA@</script>";
    ASSERT_NE(page.find(placeholder), std::string::npos);
    EXPECT_EQ(page.find("@BOARD_DATA@", page.find(placeholder) + placeholder.size()), std::string::npos);
    // Nothing is fetched: no script, style, font or image from elsewhere.
    EXPECT_FALSE(std::regex_search(page, std::regex("(src|href)=\"(https?:)?//|@import|url\\((https?:)?//")));

    Board board(part_block("R1", "R1206", 25400000, 12700000, 0, 0));
    std::ostringstream out;
    write_review_page(out, ReviewInput{board.units, board.project, board.board, board.findings});
    const std::string written = out.str();
    EXPECT_EQ(written.size(), page.size() - std::string("@BOARD_DATA@").size() + board.data().size());
    EXPECT_NE(written.find("type=\"application/json\">" + board.data() + "</script>"), std::string::npos);
}

TEST(ReviewSwitch, WritesThePageBesideTheReportAndChangesNothingElse) {
    ScratchDir plain, reviewed;
    copy_example(plain);
    copy_example(reviewed);
    CliResult before = run_tarnwick(plain.path, "");
    CliResult after = run_tarnwick(reviewed.path, "--review");
    ASSERT_EQ(before.status, 0);
    EXPECT_EQ(after.status, 0);
    const std::string done = "\nDone!\n";
    EXPECT_EQ(after.err, before.err.substr(0, before.err.size() - done.size()) +
                             "\nReview page demo_board.review.html written\n" + done);
    EXPECT_EQ(read_file(reviewed.file("demo_board.place")), read_file(plain.file("demo_board.place")));
    EXPECT_EQ(list_dir(reviewed.path), "BottomPlace.gbr Tarnwick.ini TopPlace.gbr demo_board.lpf demo_board.place "
                                       "demo_board.review.html font.xml");
    EXPECT_EQ(list_dir(plain.path), "BottomPlace.gbr Tarnwick.ini TopPlace.gbr demo_board.lpf demo_board.place font.xml");
    EXPECT_NE(read_file(reviewed.file("demo_board.review.html")).find("\"project\":\"Demo Controller Rev B\""),
              std::string::npos);
}

TEST(ReviewSwitch, NamesTheFindingsWithoutChangingTheExitStatus) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), "[footprints]\n" + FOOTPRINT + "[board]\n" + BOARD + "[parts]\n" +
                                          part_block("R1", "R1206", 127000000, 0, 0, 0) + "[nets]\n");
    // The page shows the findings; only --check makes them the exit status.
    // A page that cannot be written stops the run before anything else is written.
    CliResult page = run_tarnwick(dir.path, "--review=out/page.html board", "");
    EXPECT_EQ(page.status, 1) << "a folder that is not there";
    EXPECT_NE(page.err.find("Can't open output file \"out/page.html\""), std::string::npos);
    EXPECT_EQ(list_dir(dir.path), "board.lpf");
    CliResult named = run_tarnwick(dir.path, "--review=page.html board");
    EXPECT_EQ(named.status, 0);
    EXPECT_NE(read_file(dir.file("page.html")).find("\"kind\":\"off-board\",\"title\":\"Placement point off the board"),
              std::string::npos);
    EXPECT_EQ(run_tarnwick(dir.path, "--review=page.html --check board").status, 2);
    // A report on standard output: the page is review.html in the working folder.
    CliResult piped = run_tarnwick(dir.path, "--review", read_file(dir.file("board.lpf")));
    EXPECT_EQ(piped.status, 0);
    EXPECT_NE(piped.out.find("Project:"), std::string::npos);
    EXPECT_TRUE(file_exists(dir.file("review.html")));
}

TEST(ReviewSwitch, DecodesTheProjectsCodePageForThePageAndKeepsTheReportsBytes) {
    // A designator and a value in Windows-1251: "ТС1" (VT1 on a Russian board) and "КТ315".
    const std::string ref = "\xD2\xD1" "1", value = "\xCA\xD2" "315";
    ScratchDir dir;
    write_file(dir.file("board.lpf"), "[footprints]\n" + FOOTPRINT + "[board]\n" + BOARD + "[parts]\n" +
                                          part_block(ref, "R1206", 25400000, 12700000, 0, 0, 0, value) + "[nets]\n");
    CliResult plain = run_tarnwick(dir.path, "board");
    ASSERT_EQ(plain.status, 0);
    const std::string report = read_file(dir.file("board.place"));
    EXPECT_NE(report.find(ref), std::string::npos);

    CliResult named = run_tarnwick(dir.path, "--review=page.html --review-encoding=windows-1251 board");
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(read_file(dir.file("board.place")), report);
    const std::string page = read_file(dir.file("page.html"));
    EXPECT_NE(page.find("\"encoding\":\"windows-1251\""), std::string::npos);
    EXPECT_NE(page.find("\"ref\":\"\xD0\xA2\xD0\xA1" "1\""), std::string::npos);
    EXPECT_NE(page.find("\"value\":\"\xD0\x9A\xD0\xA2" "315\""), std::string::npos);
    // Unnamed, bytes that are not UTF-8 are read as Windows-1252: valid UTF-8 all the same.
    ASSERT_EQ(run_tarnwick(dir.path, "--review=page.html board").status, 0);
    EXPECT_NE(read_file(dir.file("page.html")).find("\"ref\":\"\xC3\x92\xC3\x91" "1\""), std::string::npos);

    // An unknown name stops the run before anything is read or written, naming the known ones.
    ScratchDir empty;
    CliResult unknown = run_tarnwick(empty.path, "--review --review-encoding=cp1251 board");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("Fatal error: unknown encoding \"cp1251\" for the review page; known: windows-1250, "
                               "windows-1251, windows-1252, iso-8859-1, iso-8859-2, iso-8859-5, koi8-r, cp866, cp437\n"),
              std::string::npos)
        << unknown.err;
    EXPECT_EQ(list_dir(empty.path), "");
}

TEST(ReviewSwitch, NeverReplacesTheProjectOrTheReport) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), "[footprints]\n" + FOOTPRINT + "[board]\n[parts]\n[nets]\n");
    const std::string project = read_file(dir.file("board.lpf"));
    for (const char* arguments : {"--review=board.lpf board", "--review=BOARD.place board", "--review=./board.lpf board"}) {
        CliResult refused = run_tarnwick(dir.path, arguments);
        EXPECT_EQ(refused.status, 1) << arguments;
        EXPECT_NE(refused.err.find("Fatal error: Review page"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(read_file(dir.file("board.lpf")), project);
    EXPECT_EQ(list_dir(dir.path), "board.lpf");
    // Only among the switches; after the names it is a name, with the usual warning.
    CliResult late = run_tarnwick(dir.path, "board --review");
    EXPECT_EQ(late.status, 0);
    EXPECT_TRUE(file_exists(dir.file("--review.place")));
}
