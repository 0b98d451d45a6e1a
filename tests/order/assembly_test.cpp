// The bill of materials and the placement list, through the program and read back by Python's
// CSV reader; the origin choices on a board whose outline does not start at 0,0.
#include "order/assembly.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "project/project_builder.h"
#include "test_support.h"

namespace {

// A board from (10, 5) to (60, 45) mm; parts whose designators sort naturally, on both sides,
// with values that hold commas and quotes, an empty value and an excluded part.
std::string assembly_project() {
    const std::string footprint = smd_footprint("R0603") + smd_footprint("C0603");
    std::string parts = part_block("R100", "R0603", 20000000, 10000000, 1, 90, 0, "10k") +
                        part_block("R10", "R0603", 21000000, 10000000, 0, 0, 0, "say \\\"hi\\\"") +
                        part_block("R2", "R0603", 22000000, 10000000, 0, 0, 0, "1k, 1%") +
                        part_block("R1", "R0603", 23000000, 10000000, 0, 270, 0, "10k") +
                        part_block("C2", "C0603", 24000000, 12000000, 1, 0, 0, "") +
                        part_block("C1", "C0603", 25000000, 12000000, 0, 180, 0, "") +
                        part_block("R5", "R0603", 26000000, 12000000, 0, 0, 0, "10k");
    // The value lines carry the layout editor's own quoting: no escapes, the text up to the quote.
    size_t at;
    while ((at = parts.find("\\\"")) != std::string::npos) parts.replace(at, 2, "'");
    return "project_name: \"Order\"\n[footprints]\n" + footprint +
           "[board]\noutline: 4 0\n  corner: 1 10000000 5000000 0\n  corner: 2 60000000 5000000 0\n"
           "  corner: 3 60000000 45000000 0\n  corner: 4 10000000 45000000 0\n[parts]\n" +
           parts + "[nets]\n[end]\n";
}

// The rows of a CSV file as Python's reader gives them, fields joined by "|".
std::string rows_of(const ScratchDir& dir, const std::string& file) {
    write_file(dir.file("read.py"), "import csv, sys\nfor row in csv.reader(open(sys.argv[1], newline='')):\n"
                                    "    print('|'.join(row))\n");
    EXPECT_EQ(std::system(("cd '" + dir.path + "' && python3 read.py " + file + " > rows.txt").c_str()), 0);
    return read_file(dir.file("rows.txt"));
}

}  // namespace

TEST(AssemblyFiles, BillOfMaterialsAndPlacementListReadBack) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), assembly_project());
    write_file(dir.file("Tarnwick.ini"), "-U MM\n-I R5 \"\" 1\n-I \"R1 R100\" \"1 % tolerance\"\n");
    CliResult result = run_tarnwick(dir.path, "--bom --cpl board");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("\nBill of materials board.bom.csv written\n\nPlacement list board.cpl.csv written\n"),
              std::string::npos);
    EXPECT_EQ(rows_of(dir, "board.bom.csv"),
              "Quantity|Value|Footprint|Designators|Side|Technology|Information|Fitted\n"
              "2||C0603|C1, C2|Both|SMD||yes\n"
              "2|10k|R0603|R1, R100|Both|SMD|1 % tolerance|yes\n"
              "1|1k, 1%|R0603|R2|Top|SMD||yes\n"
              "1|say 'hi'|R0603|R10|Top|SMD||yes\n"
              "1|10k|R0603|R5|Top|SMD||no\n");
    EXPECT_EQ(rows_of(dir, "board.cpl.csv"),
              "Designator|Value|Footprint|Mid X|Mid Y|Layer|Rotation\n"
              "C1||C0603|25.000|12.000|Top|180\n"
              "C2||C0603|24.000|12.000|Bottom|0\n"
              "R1|10k|R0603|23.000|10.000|Top|90\n"
              "R2|1k, 1%|R0603|22.000|10.000|Top|0\n"
              "R10|say 'hi'|R0603|21.000|10.000|Top|0\n"
              "R100|10k|R0603|20.000|10.000|Bottom|270\n");
    // The report itself is that of a run without the switches.
    ScratchDir plain;
    write_file(plain.file("board.lpf"), assembly_project());
    write_file(plain.file("Tarnwick.ini"), read_file(dir.file("Tarnwick.ini")));
    ASSERT_EQ(run_tarnwick(plain.path, "board").status, 0);
    EXPECT_EQ(read_file(dir.file("board.place")), read_file(plain.file("board.place")));
}

TEST(AssemblyFiles, OriginsAndNamesAndWhatIsRefused) {
    ScratchDir dir;
    write_file(dir.file("board.lpf"), assembly_project());
    write_file(dir.file("Tarnwick.ini"), "-U MM\n");
    // R1 at (23, 10) mm: from the board's lower-left corner (10, 5), and from a point given in mm.
    const std::pair<const char*, const char*> origins[] = {
        {"--origin=file", "R1|10k|R0603|23.000|10.000|Top|90"},
        {"--origin=board", "R1|10k|R0603|13.000|5.000|Top|90"},
        {"--origin=2.5,-1", "R1|10k|R0603|20.500|11.000|Top|90"}};
    for (const auto& [origin, row] : origins) {
        ASSERT_EQ(run_tarnwick(dir.path, std::string(origin) + " --cpl=list.csv board").status, 0) << origin;
        EXPECT_NE(rows_of(dir, "list.csv").find(std::string("\n") + row + "\n"), std::string::npos) << origin;
    }
    // The review page marks the origin the list is measured from (inches in the page's data).
    ASSERT_EQ(run_tarnwick(dir.path, "--origin=board --review=page.html board").status, 0);
    EXPECT_NE(read_file(dir.file("page.html")).find("\"origin\":[0.39370,0.19685]"), std::string::npos);
    // Inches: a point given in the report's unit.
    write_file(dir.file("Tarnwick.ini"), "");
    ASSERT_EQ(run_tarnwick(dir.path, "--origin=0.5,0 --cpl board").status, 0);
    EXPECT_NE(rows_of(dir, "board.cpl.csv").find("\nR1|10k|R0603|10.300|10.000|Top|90\n"), std::string::npos);

    // Refused before anything is written: an origin that is none, the board's corner of a
    // project without an outline, a file that would replace the project or the report.
    std::string no_board = assembly_project();
    no_board.replace(no_board.find("outline: 4 0"), no_board.find("[parts]") - no_board.find("outline: 4 0"), "");
    write_file(dir.file("bare.lpf"), no_board);
    const char* const refused[] = {"--origin=left board", "--origin=1,2,3 board", "--origin=board --cpl bare",
                                   "--bom=board.lpf board", "--cpl=BOARD.place board", "--bom=x.csv --cpl=x.csv board"};
    for (const char* arguments : refused) {
        ScratchDir clean;
        write_file(clean.file("board.lpf"), assembly_project());
        write_file(clean.file("bare.lpf"), no_board);
        CliResult result = run_tarnwick(clean.path, arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_NE(result.err.find("Fatal error"), std::string::npos) << result.err;
        EXPECT_EQ(list_dir(clean.path), "bare.lpf board.lpf") << arguments;
    }
    // On standard output the report has no name: the files are bom.csv and cpl.csv here.
    CliResult piped = run_tarnwick(dir.path, "--bom --cpl", assembly_project());
    EXPECT_EQ(piped.status, 0);
    EXPECT_TRUE(file_exists(dir.file("bom.csv")) && file_exists(dir.file("cpl.csv")));
}

TEST(AssemblyFiles, TheExampleGivesItsGoldens) {
    ScratchDir dir;
    copy_example(dir);
    ASSERT_EQ(run_tarnwick(dir.path, "--bom --cpl").status, 0);
    EXPECT_EQ(read_file(dir.file("demo_board.bom.csv")), read_file(source_path("examples/demo_board.bom.csv")));
    EXPECT_EQ(read_file(dir.file("demo_board.cpl.csv")), read_file(source_path("examples/demo_board.cpl.csv")));
}

TEST(AssemblyFiles, OriginTextsAreReadWhole) {
    const std::pair<const char*, bool> texts[] = {{"file", true}, {"board", true}, {"1.5,-2", true}, {"0,0", true},
                                                  {"Board", false}, {"1.5", false}, {"1.5,", false}, {",2", false},
                                                  {"1,2x", false}, {"1e999,0", false}, {"", false}};
    for (const auto& [text, valid] : texts) {
        OriginChoice choice;
        EXPECT_EQ(parse_origin(text, choice), valid) << text;
    }
    OriginChoice given;
    ASSERT_TRUE(parse_origin("1.5,-2", given));
    EXPECT_EQ(given.kind, OriginChoice::GIVEN_POINT);
    EXPECT_DOUBLE_EQ(given.x + given.y, -0.5);
}
