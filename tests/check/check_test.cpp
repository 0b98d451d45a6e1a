// The placement check on one project made to show every kind of finding and its edges, read
// as a run reads it: command file, project with its copper, information records applied.
#include "check/check.h"

#include <gtest/gtest.h>

#include <map>

#include "check/findings_text.h"
#include "config/reader_fixture.h"
#include "driver/records_and_rotations.h"
#include "project/project_builder.h"
#include "test_support.h"

namespace {

// A two-pin footprint in mils: square pads `pad` wide at x = -pitch/2 and +pitch/2, the
// centroid at (cx, cy); `lines` adds body outline lines.
std::string two_pin(const std::string& name, double pitch, double pad, double cx, double cy, const std::string& lines = "",
                    double drill = 0) {
    std::ostringstream body;
    body << lines << "centroid: 0 " << cx << " " << cy << " 0\nsel_rect: -100 -50 100 50\nn_pins: 2\n"
         << "pin: 1 " << drill << " " << -pitch / 2 << " 0 0\n  top_pad: 2 " << pad << " 0 0 0\n"
         << "pin: 2 " << drill << " " << pitch / 2 << " 0 0\n  top_pad: 2 " << pad << " 0 0 0\n";
    return footprint_block(name, "MIL", body.str());
}

// One pad `size` mils wide at the origin.
std::string one_pad(const std::string& name, double size) {
    return footprint_block(name, "MIL",
                           numbered("sel_rect: 0 0 0 0\nn_pins: 1\npin: 1 0 0 0 0\n  top_pad: 2 ", static_cast<long long>(size)) +
                               " 0 0 0\n");
}

// Pads 40 mil at +-40 mil: 120 mil of copper, a quarter of it (30 mil, 0.76 mm) allowed. The
// small ones, 10 mil at +-10 mil, are held to the 0.25 mm floor (9.84 mil).
const std::string FOOTPRINTS =
    two_pin("GOOD", 80, 40, 0, 0) + two_pin("C0805", 80, 40, -40, 0) + two_pin("SET", 80, 40, -40, 0) +
    two_pin("LONG_IN", 80, 40, 29, 0) + two_pin("LONG_OUT", 80, 40, 0, 31) + two_pin("SMALL_OUT", 20, 10, 0, 10.1) +
    // A 0.66 mm pitch connector with 1.5 mm pads, centroid on pin 1: 0.33 mm off, 0.375 allowed.
    footprint_block("FINE", "NM",
                    "centroid: 0 -330000 0 0\nsel_rect: 0 0 0 0\nn_pins: 2\npin: 1 0 -330000 0 90\n"
                    "  top_pad: 3 300000 750000 750000 0\npin: 2 0 330000 0 90\n  top_pad: 3 300000 750000 750000 0\n") +
    // An exposed pad in the middle holds the centroid, rightly.
    footprint_block("QFN", "MIL",
                    "centroid: 0 0 0 0\nsel_rect: 0 0 0 0\nn_pins: 3\npin: 1 0 -60 0 0\n  top_pad: 2 10 0 0 0\n"
                    "pin: 2 0 60 0 0\n  top_pad: 2 10 0 0 0\npin: 3 0 0 0 0\n  top_pad: 2 80 0 0 0\n") +
    // A connector whose body overhangs its pads: the centroid on the body's centre.
    two_pin("BODY", 80, 40, 0, 100, "outline_polyline: 5 -100 -20 1 0 4\nnext_corner: 100 220 0\n") +
    two_pin("DIP", 100, 60, -50, 0, "", 30) +
    footprint_block("HOLE", "MIL", "sel_rect: -80 -80 80 80\nn_pins: 1\npin: 1 125 0 0 0\n  top_pad: 1 125 0 0 0\n") +
    footprint_block("LOGO", "MIL", "outline_polyline: 5 -300 -100 1 0 4\nnext_corner: 300 100 0\nsel_rect: 0 0 0 0\nn_pins: 0\n") +
    one_pad("ART", 1000) + one_pad("TP", 40) +
    footprint_block("SOT23", "MIL",
                    "sel_rect: 0 0 0 0\nn_pins: 4\npin: 1 0 -37 -45 0\n  top_pad: 2 28 0 0 0\npin: 2 0 37 -45 0\n"
                    "  top_pad: 2 28 0 0 0\npin: 3 0 0 45 0\n  top_pad: 2 28 0 0 0\n");

// 100 x 80 mm, the top right corner rounded (radius 10 mm), a 10 mm square cut-out at (20, 20),
// in the layout editor's form: the last number of a corner is its contour.
const std::string BOARD =
    "outline: 5 0\n  corner: 1 0 0 0 0\n  corner: 2 100000000 0 0 0\n  corner: 3 100000000 70000000 2 0\n"
    "  corner: 4 90000000 80000000 0 0\n  corner: 5 0 80000000 0 0\n  corner: 6 20000000 20000000 0 1\n"
    "  corner: 7 30000000 20000000 0 1\n  corner: 8 30000000 30000000 0 1\n  corner: 9 20000000 30000000 0 1\n";

// The parts as (designator, footprint, x and y in micrometres, side) and the kind each is reported
// under ("" for none).
struct PartCase {
    const char* ref;
    const char* shape;
    long long x, y;
    int side;
    const char* kind;
};
const PartCase PARTS[] = {
    {"G1", "GOOD", 50000, 50000, 0, ""},
    {"C1", "C0805", 50000, 50000, 0, "centroid"},
    {"C2", "C0805", 50000, 60000, 1, "centroid"},
    {"X1", "SET", 50000, 50000, 0, ""},
    {"A1", "LONG_IN", 50000, 50000, 0, ""},
    {"A2", "LONG_OUT", 50000, 50000, 0, "centroid"},
    {"A4", "SMALL_OUT", 50000, 50000, 0, "centroid"},
    {"K1", "FINE", 50000, 50000, 0, "centroid"},
    {"U1", "QFN", 50000, 50000, 0, ""},
    {"J1", "BODY", 50000, 50000, 0, "body-centre"},
    {"T1", "DIP", 50000, 50000, 0, "centroid-tht"},
    {"H1", "HOLE", 50000, 50000, 0, "no-copper"},
    {"LOGO1", "LOGO", 50000, 50000, 0, "pseudo-part"},
    {"ART1", "ART", 50000, 50000, 0, "pseudo-part"},
    {"TP1", "TP", 50000, 50000, 0, "single-pad"},
    {"TP2", "TP", 50000, 50000, 1, "single-pad"},
    {"Q1", "SOT23", 50000, 50000, 0, ""},
    {"E1", "GOOD", 101900, 40000, 0, "edge"},
    {"E2", "GOOD", 102100, 40000, 0, "off-board"},
    {"E3", "GOOD", 25000, 23000, 0, "off-board"},  // in the cut-out, 3 mm from its edge
    {"E4", "GOOD", 10000, 10000, 0, ""},           // between the cut-out and the edge
    {"S1", "C0805", 50000, 50000, 2, "side"},      // the side outranks the centroid
    {"R5", "GOOD", 50000, 50000, 0, ""},
    {"R5", "GOOD", 50000, 50000, 0, ""},
    {"R9", "C0805", 50000, 50000, 0, ""},  // excluded by its record
};

const std::string COMMANDS = "-I R9 \"\" 1\n-I R99 text\nSET 0 -1.016 0\nC0805X 1\n";

std::string parts_text() {
    std::string text;
    for (const PartCase& part : PARTS) text += part_block(part.ref, part.shape, part.x * 1000, part.y * 1000, part.side, 0);
    return text;
}

struct CheckRun {
    CommandFileRun commands;
    Project project;
    CheckFindings result;

    explicit CheckRun(const std::string& command_file) {
        commands.read(command_file);
        const std::string text = "project_name: \"Check\"\n[footprints]\n" + FOOTPRINTS + "[board]\n" + BOARD +
                                 "[parts]\n" + parts_text() + "[nets]\n[end]\n";
        std::ostringstream console;
        project = load(text, commands.settings, commands.overrides, console, true);
        apply_records_and_rotations(project.parts, commands.info, commands.settings);
        const ReportUnits units = report_units(commands.settings);
        const geometry::BoardRings rings = geometry::board_rings(project);
        result = check_placement(CheckInput{units, commands.info, commands.overrides, project, rings});
    }

    // The finding of a kind whose parts include `ref`, or nullptr.
    const Finding* about(const std::string& ref, const std::string& kind) const {
        for (const Finding& finding : result.findings)
            for (int part : finding.parts)
                if (project.parts.at(static_cast<size_t>(part)).ref_des == ref && kind_info(finding.kind).word == kind)
                    return &finding;
        return nullptr;
    }
};

const CheckRun& in_mm() {
    static const CheckRun run("-U MM\n" + COMMANDS);
    return run;
}

}  // namespace

TEST(PlacementCheck, EachPartUnderItsOneStrongestKind) {
    const CheckRun& run = in_mm();
    std::map<std::string, std::string> kinds;
    for (const Finding& finding : run.result.findings)
        for (int part : finding.parts) {
            const std::string& ref = run.project.parts.at(static_cast<size_t>(part)).ref_des;
            if (finding.kind == CHECK_DUPLICATE || finding.kind == CHECK_PIN_COUNT) continue;
            EXPECT_TRUE(kinds.emplace(ref, kind_info(finding.kind).word).second) << ref << " reported twice";
        }
    for (const PartCase& part : PARTS) EXPECT_EQ(kinds[part.ref], part.kind) << part.ref;
    EXPECT_NE(run.about("R5", "duplicate"), nullptr);
    EXPECT_NE(run.about("Q1", "pin-count"), nullptr);
    // Errors first, then notes; one entry per footprint and kind, its parts in designator order.
    ASSERT_FALSE(run.result.findings.empty());
    for (size_t i = 1; i < run.result.findings.size(); ++i)
        EXPECT_LE(kind_info(run.result.findings[i - 1].kind).severity, kind_info(run.result.findings[i].kind).severity);
    EXPECT_EQ(run.about("C1", "centroid"), run.about("C2", "centroid"));
    EXPECT_EQ(run.about("TP1", "single-pad")->parts.size(), 2u);
    // C0805, LONG_OUT, SMALL_OUT, FINE, HOLE, LOGO, ART, off the board, the side, R5, two records.
    EXPECT_EQ(run.result.errors, 12);
    EXPECT_EQ(run.result.notes, 5);
}

TEST(PlacementCheck, CausesInWordsWithTheirFigures) {
    const CheckRun& run = in_mm();
    auto cause = [&](const char* ref, const char* kind) {
        const Finding* finding = run.about(ref, kind);
        return finding != nullptr ? finding->cause : std::string("none");
    };
    EXPECT_EQ(cause("C1", "centroid"), "placement point on pin 1, 1.02 mm from the centre of the copper (allowed 0.76)");
    EXPECT_EQ(cause("K1", "centroid"), "placement point on pin 1, 0.33 mm from the centre of the copper");
    EXPECT_EQ(cause("A2", "centroid"),
              "placement point 0.79 mm from the centre of the copper, toward the footprint's top (allowed 0.76)");
    EXPECT_EQ(cause("J1", "body-centre"), "placement point on the centre of the body outline, 2.54 mm from the centre "
                                          "of the copper: a body that overhangs its pads by design");
    EXPECT_EQ(cause("E1", "edge"), "placement point 1.90 mm over the board edge: a part that overhangs it by design?");
    EXPECT_EQ(cause("E2", "off-board"), "placement points 2.10 to 3.00 mm past the board edge");
    EXPECT_EQ(cause("ART1", "pseudo-part"),
              "its only copper is one pad of 25.40 mm: an imported drawing or label, not a component");
    EXPECT_EQ(cause("S1", "side").substr(0, 70), "side 2 in the layout file: the report calls it Bottom and turns it by ");
    EXPECT_EQ(run.about("R5", "duplicate")->cause, "placed 2 times (GOOD, GOOD)");
    // In inches, with four decimals.
    CheckRun in_inches("-U Inch\n" + COMMANDS);
    EXPECT_EQ(in_inches.about("A4", "centroid")->cause,
              "placement point 0.0101 in from the centre of the copper, toward the footprint's top (allowed 0.0098)");
    geometry::Box box;
    box.add(0.0, 0.0);
    box.add(0.2, 0.1);
    EXPECT_DOUBLE_EQ(copper_distance_limit(box), 0.05);
}

TEST(PlacementCheck, FixLinesInTheCommandFilesUnitsKeepingWhatAnOverrideGives) {
    // The flag of an override line is kept on a centroid line (C1 is put back by its record); a
    // centroid it sets is kept on an exclusion line.
    CheckRun in_mm_with_lines("-U MM\n" + COMMANDS + "C0805 1\n-I C1 \"\" 0\nHOLE 0 1.5 -2\n");
    EXPECT_EQ(in_mm_with_lines.about("C1", "centroid")->fix, "C0805 1 0.0000 0.0000");
    EXPECT_EQ(in_mm_with_lines.about("H1", "no-copper")->fix, "HOLE 1 1.5000 -2.0000");
    EXPECT_EQ(in_mm().about("H1", "no-copper")->fix, "HOLE 1");
    EXPECT_EQ(in_mm().about("K1", "centroid")->fix, "FINE 0 0.0000 0.0000");
    EXPECT_EQ(in_mm().about("TP1", "single-pad")->fix, "TP 1");
    EXPECT_EQ(CheckRun("-U I\n" + COMMANDS).about("A2", "centroid")->fix, "LONG_OUT 0 0.00000 0.00000");
    EXPECT_EQ(in_mm().about("J1", "body-centre")->fix, "");
    EXPECT_EQ(in_mm().about("E2", "off-board")->fix, "");
}

TEST(PlacementCheck, ConsoleSectionAndFilesForScripts) {
    const CheckRun& run = in_mm();
    std::ostringstream console, csv, fixes;
    print_findings(console, run.result, run.project);
    const std::string text = console.str();
    EXPECT_EQ(text.find("\n\nPlacement check\n\nErrors, to mend before production:\n  Pseudo-part in the report: ART "), 0u);
    EXPECT_NE(text.find("\n  Placement point off the copper: C0805 (SMD), 2 parts: C1, C2\n"
                        "      placement point on pin 1, 1.02 mm from the centre of the copper (allowed 0.76)\n"
                        "      fix: C0805 0 0.0000 0.0000\n"),
              std::string::npos)
        << text;
    EXPECT_LT(text.find("Errors,"), text.find("\nNotes, worth a look:\n"));
    EXPECT_TRUE(text.ends_with("\nPlacement check: 12 errors, 5 notes\n")) << text;

    write_findings_csv(csv, run.result, run.project, report_units(run.commands.settings));
    const std::string rows = csv.str();
    EXPECT_EQ(rows.substr(0, rows.find('\n')),
              "Severity,Kind,Designator,Footprint,Side,Technology,Distance (mm),Message,Fix");
    EXPECT_NE(rows.find("\nerror,centroid,C2,C0805,Bottom,SMD,1.02,\"placement point on pin 1, 1.02 mm from the "
                        "centre of the copper (allowed 0.76)\",C0805 0 0.0000 0.0000\n"),
              std::string::npos)
        << rows;
    EXPECT_NE(rows.find("\nerror,unmatched,,,,,,\"information record \"\"R99\"\" matches no part: a designator "
                        "mistyped, or a record of another board\",\n"),
              std::string::npos);

    write_fixes(fixes, run.result, run.project, report_units(run.commands.settings), "fixes.ini");
    const std::string fragment = fixes.str();
    EXPECT_NE(fragment.find("\nC0805 0 0.0000 0.0000\n"), std::string::npos);
    EXPECT_NE(fragment.find("\n;TP 1\n"), std::string::npos) << "a note's fix is commented out";
    // Read back as a command file: every active line is a footprint line, every other line empty.
    CommandFileRun back;
    back.read("-U MM\n" + fragment);
    EXPECT_EQ(back.overrides.count(), 7);  // C0805, LONG_OUT, SMALL_OUT, FINE, HOLE, LOGO, ART
    EXPECT_EQ(back.messages(), "");
}
