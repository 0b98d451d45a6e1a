// The placement check on projects made to show each kind of finding, read as a run reads them:
// command file, geometry and project from the same text, information records applied.
#include "check/check.h"

#include <gtest/gtest.h>

#include "config/reader_fixture.h"
#include "driver/records_and_rotations.h"
#include "project/project_builder.h"
#include "test_support.h"

namespace {

// A two-pin footprint in mils: square pads `pad` wide at x = -pitch/2 and +pitch/2, the
// centroid at (cx, cy).
std::string two_pin(const std::string& name, double pitch, double pad, double cx, double cy) {
    std::ostringstream body;
    body << "centroid: 0 " << cx << " " << cy << " 0\nsel_rect: -100 -50 100 50\nn_pins: 2\n"
         << "pin: 1 0 " << -pitch / 2 << " 0 0\n  top_pad: 2 " << pad << " 0 0 0\n"
         << "pin: 2 0 " << pitch / 2 << " 0 0\n  top_pad: 2 " << pad << " 0 0 0\n";
    return footprint_block(name, "MIL", body.str());
}

const std::string HOLE = footprint_block("HOLE", "MIL",
                                         "sel_rect: -80 -80 80 80\nn_pins: 1\npin: 1 125 0 0 0\n"
                                         "  top_pad: 1 125 62.5 62.5 0\n");

// A part at (x, y) in millimetres.
std::string part_mm(const std::string& ref_des, const std::string& shape, double x, double y, int side = 0,
                    int angle = 0) {
    return part_block(ref_des, shape, static_cast<long long>(x * 1e6), static_cast<long long>(y * 1e6), side, angle);
}

struct CheckRun {
    CommandFileRun commands;
    Project project;
    geometry::ProjectGeometry geometry;
    CheckFindings result;

    CheckRun(const std::string& footprints, const std::string& parts, const std::string& command_file = "-U MM\n",
             const std::string& board = "") {
        commands.read(command_file);
        const std::string text = "project_name: \"Check\"\n[footprints]\n" + footprints + "[board]\n" + board +
                                 "[parts]\n" + parts + "[nets]\n[end]\n";
        geometry = geometry::read_project_geometry(text);
        std::ostringstream console;
        project = load(text, commands.settings, commands.overrides, console);
        apply_records_and_rotations(project.parts, commands.info, commands.settings);
        result = check_placement(
            CheckInput{commands.settings, commands.info, commands.overrides, project, geometry});
    }

    // The texts of the findings of one kind, one per line.
    std::string texts(int kind) const {
        std::string all;
        for (const Finding& finding : result.findings)
            if (finding.kind == kind) all += finding.text + "\n";
        return all;
    }
};

}  // namespace

TEST(FarFromCopper, CentroidOnPinOneIsFlaggedForEveryPlacedPartOfTheFootprint) {
    // Pads 40 mil at +-40 mil: copper 120 mil long, allowed a quarter of it, 30 mil (0.76 mm).
    CheckRun run(two_pin("C0805", 80, 40, -40, 0) + two_pin("GOOD", 80, 40, 0, 0),
                 part_mm("C1", "C0805", 10, 10) + part_mm("C2", "C0805", 20, 10, 1, 90) +
                     part_mm("C3", "C0805", 30, 10) + part_mm("C4", "GOOD", 40, 10),
                 "-U MM\n-I C3 \"\" 1\n");
    EXPECT_EQ(run.texts(CHECK_FAR_FROM_COPPER),
              "C1 (C0805): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n"
              "C2 (C0805): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n");
    EXPECT_EQ(run.result.counts[CHECK_FAR_FROM_COPPER], 2);
    ASSERT_FALSE(run.result.findings.empty());
    const Finding& first = run.result.findings[0];
    EXPECT_EQ(run.project.parts.at(static_cast<size_t>(first.part)).ref_des, "C1");
    EXPECT_EQ(run.project.footprints.records.at(static_cast<size_t>(first.footprint)).name, "C0805");
}

TEST(FarFromCopper, ThresholdEdgesOfTheShareAndTheFloor) {
    // Long part: allowed 30 mil, centroids 29 and 31 mil off. Small part: pads 10 mil at
    // +-10 mil, 30 mil of copper, so the 0.25 mm floor (9.84 mil) holds; 9.6 and 10.1 mil off.
    CheckRun run(two_pin("LONG_IN", 80, 40, 29, 0) + two_pin("LONG_OUT", 80, 40, 0, 31) +
                     two_pin("SMALL_IN", 20, 10, 0, -9.6) + two_pin("SMALL_OUT", 20, 10, -10.1, 0),
                 part_mm("A1", "LONG_IN", 10, 10) + part_mm("A2", "LONG_OUT", 10, 20) +
                     part_mm("A3", "SMALL_IN", 10, 30) + part_mm("A4", "SMALL_OUT", 10, 40),
                 "-U Inch\n");
    EXPECT_EQ(run.texts(CHECK_FAR_FROM_COPPER),
              "A2 (LONG_OUT): placement point 0.0310 in from the centre of its pads (allowed 0.0300)\n"
              "A4 (SMALL_OUT): placement point 0.0101 in from the centre of its pads (allowed 0.0098)\n");
    geometry::Box box;
    box.add(0.0, 0.0);
    EXPECT_DOUBLE_EQ(copper_distance_limit(box), 0.25 / 25.4);
    box.add(0.2, 0.1);
    EXPECT_DOUBLE_EQ(copper_distance_limit(box), 0.05);
}

TEST(FarFromCopper, OverrideCentroidConfirmsAndFootprintsWithoutCopperAreNotMeasured) {
    // The override with a centroid confirms it; one with the flag alone does not. The hole has
    // no copper at all: it is left to the parts-without-copper kind.
    CheckRun run(two_pin("SET", 80, 40, -40, 0) + two_pin("FLAG_ONLY", 80, 40, -40, 0) + HOLE,
                 part_mm("X1", "SET", 10, 10) + part_mm("X2", "FLAG_ONLY", 10, 20) + part_mm("H1", "HOLE", 10, 30),
                 "-U MM\nSET 0 -1.016 0\nFLAG_ONLY 0\n");
    EXPECT_EQ(run.texts(CHECK_FAR_FROM_COPPER),
              "X2 (FLAG_ONLY): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n");
    EXPECT_EQ(run.texts(CHECK_WITHOUT_COPPER), "H1 (HOLE): class Null, not excluded\n");
}

TEST(OutsideBoard, RoundedCornerCutOutAndSecondOutline) {
    // 100 x 80 mm with its top right corner rounded (radius 10 mm), a 10 mm square cut-out at
    // (20, 20), and a second board at x 200 to 220.
    const std::string board =
        "outline: 5 0\n  corner: 1 0 0 0\n  corner: 2 100000000 0 0\n  corner: 3 100000000 70000000 2\n"
        "  corner: 4 90000000 80000000 0\n  corner: 5 0 80000000 0 1\n"
        "  corner: 6 20000000 20000000 0\n  corner: 7 30000000 20000000 0\n  corner: 8 30000000 30000000 0\n"
        "  corner: 9 20000000 30000000 0 1\n"
        "outline: 4 0\n  corner: 1 200000000 0 0\n  corner: 2 220000000 0 0\n  corner: 3 220000000 20000000 0\n"
        "  corner: 4 200000000 20000000 0\n";
    const std::string fp = two_pin("R", 40, 20, 0, 0);
    CheckRun run(fp,
                 part_mm("IN", "R", 50, 50) + part_mm("ROUND_IN", "R", 96, 76) + part_mm("ROUND_OUT", "R", 98, 78) +
                     part_mm("CUT", "R", 25, 25) + part_mm("SECOND", "R", 210, 10) +
                     part_mm("BETWEEN", "R", 150, 10) + part_mm("BELOW", "R", 50, -3, 1, 90) +
                     part_mm("GONE", "R", 150, 50),
                 "-U MM\n-I GONE \"\" 1\n", board);
    EXPECT_EQ(run.texts(CHECK_OUTSIDE_BOARD),
              "BELOW (R): placement point at 50.00, -3.00 mm\n"
              "BETWEEN (R): placement point at 150.00, 10.00 mm\n"
              "CUT (R): placement point at 25.00, 25.00 mm\n"
              "ROUND_OUT (R): placement point at 98.00, 78.00 mm\n");
    // Without an outline there is nothing to be outside of.
    CheckRun no_board(fp, part_mm("FAR", "R", -500, -500), "-U MM\n", "layers: 2\n");
    EXPECT_EQ(no_board.result.total(), 0);
}

TEST(DuplicateDesignators, EqualByteForByteAmongPlacedParts) {
    const std::string fps = two_pin("R0603", 60, 30, 0, 0) + two_pin("R0805", 80, 40, 0, 0);
    CheckRun run(fps,
                 part_mm("R5", "R0603", 10, 10) + part_mm("R7", "R0603", 10, 20) + part_mm("r5", "R0603", 10, 30) +
                     part_mm("R5", "R0805", 10, 40) + part_mm("R7", "R0805", 10, 50) +
                     part_mm("R7", "R0603", 10, 60) + part_mm("R9", "R0603", 10, 70) +
                     part_mm("R9", "R0603", 10, 80),
                 "-U MM\n-I R9 \"\" 1\n");
    // R9's record excludes both R9 parts, so neither is placed twice.
    EXPECT_EQ(run.texts(CHECK_DUPLICATE_DESIGNATOR),
              "R5: placed 2 times (R0603, R0805)\n"
              "R7: placed 3 times (R0603, R0805, R0603)\n");
    ASSERT_EQ(run.result.findings.size(), 2u);
    EXPECT_EQ(run.project.parts.at(static_cast<size_t>(run.result.findings[0].part)).ref_des, "R5");
}

TEST(UnmatchedRecords, InformationRecordsAndOverridesThatMatchNothing) {
    CheckRun run(two_pin("C0805", 80, 40, 0, 0) + HOLE,
                 part_mm("C1", "C0805", 10, 10) + part_mm("H1", "HOLE", 10, 20),
                 "-U MM\n-I \"C1 C99\" text 0\n-I H1 \"\" 1\n-I c1 case\nC0805X 1\nHOLE 1\nC0805 0 0 0\n");
    // H1 is excluded, yet its record matches it: the record is not a typo.
    EXPECT_EQ(run.texts(CHECK_UNMATCHED_RECORD),
              "information record \"C99\" matches no part\n"
              "information record \"c1\" matches no part\n"
              "footprint override \"C0805X\" matches no footprint\n");
    EXPECT_EQ(run.result.total(), 3);
}

TEST(PinCount, FootprintsOfPlacedPartsWhosePinsDifferFromNPins) {
    auto footprint = [](const std::string& name, int listed) {
        return footprint_block(name, "MIL",
                               numbered("sel_rect: -60 -60 60 60\nn_pins: ", listed) +
                                   "\npin: 1 0 -37 -45 0\n  top_pad: 2 28 0 0 0\npin: 2 0 37 -45 0\n"
                                   "  top_pad: 2 28 0 0 0\npin: 3 0 0 45 0\n  top_pad: 2 28 0 0 0\n");
    };
    std::string parts;
    for (int i = 1; i <= 6; ++i) parts += part_mm(numbered("Q", i), "SOT23", 10.0 * i, 10);
    parts += part_mm("U1", "ONLY_EXCLUDED", 10, 20) + part_mm("U2", "RIGHT", 10, 30) + part_mm("D1", "ONE", 10, 40);
    const std::string one_pin =
        footprint_block("ONE", "MIL", "sel_rect: 0 0 0 0\nn_pins: 2\npin: 1 0 0 0 0\n  top_pad: 2 20 0 0 0\n");
    CheckRun run(footprint("SOT23", 4) + footprint("ONLY_EXCLUDED", 2) + footprint("RIGHT", 3) + one_pin, parts,
                 "-U MM\n-I Q2 \"\" 1\n-I U1 \"\" 1\n");
    EXPECT_EQ(run.texts(CHECK_PIN_COUNT),
              "SOT23 (used by Q1, Q3, Q4, Q5 and 1 more): n_pins 4, 3 pins listed\n"
              "ONE (used by D1): n_pins 2, 1 pin listed\n");
    EXPECT_EQ(run.project.footprints.records.at(static_cast<size_t>(run.result.findings.at(0).footprint)).name,
              "SOT23");
}

TEST(WithoutCopper, PlacedNullPartsUnlessExcludedOrClassedByTheirPins) {
    const std::string fps = HOLE + footprint_block("LOGO", "MIL", "sel_rect: -300 -100 300 100\nn_pins: 0\n");
    const std::string parts = part_mm("H1", "HOLE", 10, 10) + part_mm("H2", "HOLE", 10, 20) +
                              part_mm("LOGO1", "LOGO", 10, 30);
    CheckRun run(fps, parts, "-U MM\n-I H2 \"\" 1\n");
    EXPECT_EQ(run.texts(CHECK_WITHOUT_COPPER),
              "H1 (HOLE): class Null, not excluded\nLOGO1 (LOGO): class Null, not excluded\n");
    // With -M 1 a hole is classed by its drilled pin; a footprint without pins stays Null.
    CheckRun mechanical(fps, parts, "-U MM\n-M 1\n");
    EXPECT_EQ(mechanical.texts(CHECK_WITHOUT_COPPER), "LOGO1 (LOGO): class Null, not excluded\n");
}

TEST(CheckSection, HeadingsCountsAndNothingFound) {
    CheckFindings result;
    result.findings = {{CHECK_FAR_FROM_COPPER, 0, 0, "a"},
                       {CHECK_FAR_FROM_COPPER, 1, 0, "b"},
                       {CHECK_DUPLICATE_DESIGNATOR, 2, -1, "c"},
                       {CHECK_WITHOUT_COPPER, 3, 1, "d"}};
    result.counts = {2, 0, 1, 0, 0, 1};
    std::ostringstream out;
    print_findings(out, result);
    EXPECT_EQ(out.str(),
              "\n\nPlacement check\n\n"
              "Placement point far from the copper (2):\n  a\n  b\n"
              "Duplicate reference designators (1):\n  c\n"
              "Placed parts without copper (1):\n  d\n"
              "\nPlacement check: 4 findings (2 far from the copper, 1 duplicate designator, 1 without copper)\n");
    result.findings.resize(1);
    result.counts = {0, 0, 0, 1, 0, 0};
    result.findings[0].kind = CHECK_UNMATCHED_RECORD;
    std::ostringstream one;
    print_findings(one, result);
    EXPECT_EQ(one.str(), "\n\nPlacement check\n\nRecords that match nothing (1):\n  a\n"
                         "\nPlacement check: 1 finding (1 unmatched record)\n");
    std::ostringstream none;
    print_findings(none, CheckFindings{});
    EXPECT_EQ(none.str(), "\n\nPlacement check: nothing found\n");
}
