// The placement check on one project made to show every kind of finding and its edges, read
// as a run reads it: command file, geometry and project from the same text, information
// records applied. Each kind's group looks at its own findings.
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

// Three pins, `listed` of them in the n_pins line.
std::string three_pin(const std::string& name, int listed) {
    return footprint_block(name, "MIL",
                           numbered("sel_rect: -60 -60 60 60\nn_pins: ", listed) +
                               "\npin: 1 0 -37 -45 0\n  top_pad: 2 28 0 0 0\npin: 2 0 37 -45 0\n"
                               "  top_pad: 2 28 0 0 0\npin: 3 0 0 45 0\n  top_pad: 2 28 0 0 0\n");
}

// Pads 40 mil at +-40 mil: 120 mil of copper, a quarter of it (30 mil, 0.76 mm) allowed. The
// small ones, 10 mil at +-10 mil, are held to the 0.25 mm floor (9.84 mil). The hole has no
// copper, the logo no pins.
const std::string FOOTPRINTS =
    two_pin("C0805", 80, 40, -40, 0) + two_pin("GOOD", 80, 40, 0, 0) + two_pin("SET", 80, 40, -40, 0) +
    two_pin("FLAG_ONLY", 80, 40, -40, 0) + two_pin("LONG_IN", 80, 40, 29, 0) + two_pin("LONG_OUT", 80, 40, 0, 31) +
    two_pin("SMALL_IN", 20, 10, 0, -9.6) + two_pin("SMALL_OUT", 20, 10, -10.1, 0) +
    footprint_block("HOLE", "MIL", "sel_rect: -80 -80 80 80\nn_pins: 1\npin: 1 125 0 0 0\n  top_pad: 1 125 0 0 0\n") +
    footprint_block("LOGO", "MIL", "sel_rect: -300 -100 300 100\nn_pins: 0\n") + three_pin("SOT23", 4) +
    three_pin("ONLY_EXCLUDED", 2) +
    footprint_block("ONE", "MIL", "sel_rect: 0 0 0 0\nn_pins: 2\npin: 1 0 0 0 0\n  top_pad: 2 20 0 0 0\n");

// 100 x 80 mm, the top right corner rounded (radius 10 mm), a 10 mm square cut-out at (20, 20).
const std::string BOARD =
    "outline: 5 0\n  corner: 1 0 0 0\n  corner: 2 100000000 0 0\n  corner: 3 100000000 70000000 2\n"
    "  corner: 4 90000000 80000000 0\n  corner: 5 0 80000000 0 1\n  corner: 6 20000000 20000000 0\n"
    "  corner: 7 30000000 20000000 0\n  corner: 8 30000000 30000000 0\n  corner: 9 20000000 30000000 0 1\n";

// The parts, on the board unless their name says otherwise, as (designator, footprint); every
// fifth one on the bottom side turned a quarter.
const char* const PARTS[][2] = {
    {"C1", "C0805"},     {"C2", "C0805"},     {"C3", "C0805"},      {"G1", "GOOD"},     {"X1", "SET"},
    {"X2", "FLAG_ONLY"}, {"A1", "LONG_IN"},   {"A2", "LONG_OUT"},   {"A3", "SMALL_IN"}, {"A4", "SMALL_OUT"},
    {"H1", "HOLE"},      {"H2", "HOLE"},      {"LOGO1", "LOGO"},    {"Q1", "SOT23"},    {"Q2", "SOT23"},
    {"Q3", "SOT23"},     {"Q4", "SOT23"},     {"Q5", "SOT23"},      {"Q6", "SOT23"},    {"U1", "ONLY_EXCLUDED"},
    {"D1", "ONE"},       {"R5", "GOOD"},      {"r5", "GOOD"},       {"R5", "SMALL_IN"}, {"R7", "GOOD"},
    {"R7", "LONG_IN"},   {"R7", "GOOD"},      {"R9", "GOOD"},       {"R9", "GOOD"}};

const std::string COMMANDS =
    "-I \"C3 H2 Q2 U1 R9 GONE\" \"\" 1\n-I \"C1 C99\" text 0\n-I c1 case\nSET 0 -1.016 0\nFLAG_ONLY 0\nC0805X 1\n";

std::string parts_text() {
    std::string text;
    for (size_t i = 0; i < std::size(PARTS); ++i)
        text += part_block(PARTS[i][0], PARTS[i][1], 5'000'000 + 2'000'000 * static_cast<long long>(i), 50'000'000,
                           i % 5 == 4 ? 1 : 0, i % 5 == 4 ? 90 : 0);
    // Placement points near the rounded corner, in the cut-out, below the board, and off it
    // but excluded.
    return text + part_block("ROUND_IN", "GOOD", 96'000'000, 76'000'000, 0, 0) +
           part_block("ROUND_OUT", "GOOD", 98'000'000, 78'000'000, 0, 0) +
           part_block("CUT", "GOOD", 25'000'000, 25'000'000, 0, 0) +
           part_block("BELOW", "GOOD", 50'000'000, -3'000'000, 1, 90) +
           part_block("GONE", "GOOD", 150'000'000, 50'000'000, 0, 0);
}

struct CheckRun {
    CommandFileRun commands;
    Project project;
    CheckFindings result;

    CheckRun(const std::string& command_file, const std::string& board = BOARD) {
        commands.read(command_file);
        const std::string text = "project_name: \"Check\"\n[footprints]\n" + FOOTPRINTS + "[board]\n" + board +
                                 "[parts]\n" + parts_text() + "[nets]\n[end]\n";
        std::ostringstream console;
        project = load(text, commands.settings, commands.overrides, console, true);
        apply_records_and_rotations(project.parts, commands.info, commands.settings);
        const ReportUnits units = report_units(commands.settings);
        const geometry::BoardRings rings = geometry::board_rings(project);
        result = check_placement(CheckInput{units, commands.info, commands.overrides, project, rings});
    }

    // The texts of the findings of one kind, one per line.
    std::string texts(int kind) const {
        std::string all;
        for (const Finding& finding : result.findings)
            if (finding.kind == kind) all += finding.text + "\n";
        return all;
    }
};

const CheckRun& in_mm() {
    static const CheckRun run("-U MM\n" + COMMANDS);
    return run;
}

}  // namespace

TEST(FarFromCopper, CentroidOnPinOneUnlessAnOverrideSetsItAndTheThresholdEdges) {
    // C3 is excluded; SET's centroid is confirmed by its override, FLAG_ONLY's line gives the
    // flag alone; the hole has no copper to measure from. A1 and A3 lie just inside their limits.
    EXPECT_EQ(in_mm().texts(CHECK_FAR_FROM_COPPER),
              "A2 (LONG_OUT): placement point 0.79 mm from the centre of its pads (allowed 0.76)\n"
              "A4 (SMALL_OUT): placement point 0.26 mm from the centre of its pads (allowed 0.25)\n"
              "C1 (C0805): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n"
              "C2 (C0805): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n"
              "X2 (FLAG_ONLY): placement point 1.02 mm from the centre of its pads (allowed 0.76)\n");
    const Finding& first = in_mm().result.findings.at(0);
    EXPECT_EQ(in_mm().project.parts.at(static_cast<size_t>(first.part)).ref_des, "A2");
    EXPECT_EQ(in_mm().project.footprints.records.at(static_cast<size_t>(first.footprint)).name, "LONG_OUT");
    // In inches, with four decimals.
    CheckRun in_inches("-U Inch\n" + COMMANDS);
    EXPECT_EQ(in_inches.result.findings.at(1).text,
              "A4 (SMALL_OUT): placement point 0.0101 in from the centre of its pads (allowed 0.0098)");
    geometry::Box box;
    box.add(0.0, 0.0);
    box.add(0.2, 0.1);
    EXPECT_DOUBLE_EQ(copper_distance_limit(box), 0.05);
}

TEST(OutsideBoard, RoundedCornerAndCutOutAndNoOutline) {
    EXPECT_EQ(in_mm().texts(CHECK_OUTSIDE_BOARD),
              "BELOW (GOOD): placement point at 50.00, -3.00 mm\n"
              "CUT (GOOD): placement point at 25.00, 25.00 mm\n"
              "ROUND_OUT (GOOD): placement point at 98.00, 78.00 mm\n");
    // Without an outline there is nothing to be outside of.
    CheckRun no_board("-U MM\n" + COMMANDS, "layers: 2\n");
    EXPECT_EQ(no_board.result.counts[CHECK_OUTSIDE_BOARD], 0);
    EXPECT_EQ(no_board.result.total(), in_mm().result.total() - 3);
}

TEST(DuplicateDesignators, EqualByteForByteAmongPlacedParts) {
    // r5 is another designator; the R9 parts are both excluded.
    EXPECT_EQ(in_mm().texts(CHECK_DUPLICATE_DESIGNATOR),
              "R5: placed 2 times (GOOD, SMALL_IN)\nR7: placed 3 times (GOOD, LONG_IN, GOOD)\n");
}

TEST(UnmatchedRecords, InformationRecordsAndOverridesThatMatchNothing) {
    // GONE is excluded by its record, which therefore matches a part.
    EXPECT_EQ(in_mm().texts(CHECK_UNMATCHED_RECORD),
              "information record \"C99\" matches no part\n"
              "information record \"c1\" matches no part\n"
              "footprint override \"C0805X\" matches no footprint\n");
}

TEST(PinCount, FootprintsOfPlacedPartsWhosePinsDifferFromNPins) {
    // Q2 and U1 are excluded: ONLY_EXCLUDED is used by no placed part.
    EXPECT_EQ(in_mm().texts(CHECK_PIN_COUNT),
              "SOT23 (used by Q1, Q3, Q4, Q5 and 1 more): n_pins 4, 3 pins listed\n"
              "ONE (used by D1): n_pins 2, 1 pin listed\n");
}

TEST(WithoutCopper, PlacedNullPartsUnlessExcludedOrClassedByTheirPins) {
    EXPECT_EQ(in_mm().texts(CHECK_WITHOUT_COPPER),
              "H1 (HOLE): class Null, not excluded\nLOGO1 (LOGO): class Null, not excluded\n");
    // With -M 1 the hole is classed by its drilled pin; a footprint without pins stays Null.
    EXPECT_EQ(CheckRun("-U MM\n-M 1\n" + COMMANDS).texts(CHECK_WITHOUT_COPPER),
              "LOGO1 (LOGO): class Null, not excluded\n");
}
