#include "project/footprints.h"

#include <gtest/gtest.h>

#include "common/fatal.h"
#include "project_builder.h"

namespace {

FootprintRecord only_footprint(const std::string& footprints, const std::string& header = "") {
    Project project = load(project_file(footprints, "", header));
    EXPECT_EQ(project.footprint_count(), 1);
    return project.footprints.records.at(0);
}

}  // namespace

TEST(ProjectHeader, NameIsPrintedAndGlueWidthReadInNanometres) {
    std::ostringstream console;
    Project project = load(project_file("", "", "project_name: \"Board A\"\ndefault_glue_width: \"254000\"\n"),
                           Settings{}, OverrideTable{}, console);
    EXPECT_EQ(project.project_name, "Board A");
    EXPECT_EQ(console.str(), "Project: Board A\n\n");
    EXPECT_DOUBLE_EQ(project.default_glue_width, 0.01);
}

TEST(ProjectHeader, GlueWidthWithoutNumberKeepsTheDefault) {
    Project project = load(project_file("", "", "default_glue_width: \"\"\n"));
    EXPECT_DOUBLE_EQ(project.default_glue_width, 0.025);
}

TEST(FootprintScan, MissingSectionsAreFatal) {
    EXPECT_EQ(fatal_message("project_name: \"x\"\n"), "\nFootprints not found\n");
    EXPECT_EQ(fatal_message("[footprints]\n" + smd_footprint("R")), "\nPremature EOF in Footprints\n");
    EXPECT_EQ(fatal_message("[footprints]\nname: \"R\"\nunits: MIL\n"), "\nPremature EOF in Footprints\n");
}

TEST(FootprintScan, BoardDirectlyAfterFootprintsGivesNone) {
    Project project = load("[footprints]\n[board]\n[parts]\n[end]\n");
    EXPECT_EQ(project.footprint_count(), 0);
}

TEST(FootprintScan, TextKeysAndBlanksBeforeKeys) {
    FootprintRecord footprint = only_footprint(
        "   name: \"R0603\"\n\tauthor: \"Ann\"\n  source: \"IPC\"\ndescription: \"no closing quote\nunits: MIL\n"
        "sel_rect: 0 0 0 0\nn_pins: 0\n\n");
    EXPECT_EQ(footprint.name, "R0603");
    EXPECT_EQ(footprint.author, "Ann");
    EXPECT_EQ(footprint.source, "IPC");
    EXPECT_EQ(footprint.description, "no closing quote\n");
}

TEST(FootprintScan, CentroidInMilsAndInNanometres) {
    FootprintRecord mils = only_footprint(smd_footprint("A", "centroid: 0 100 200 90\n"));
    EXPECT_DOUBLE_EQ(mils.centroid_x, 0.1);
    EXPECT_DOUBLE_EQ(mils.centroid_y, 0.2);
    EXPECT_EQ(mils.centroid_angle, 90);
    EXPECT_EQ(mils.centroid_given, 1);

    FootprintRecord nm = only_footprint(footprint_block("B", "NM", "centroid: 0 2540000 -254000 0\nsel_rect: 0 0 0 0\nn_pins: 0\n"));
    EXPECT_NEAR(nm.centroid_x, 0.1, 1e-12);
    EXPECT_NEAR(nm.centroid_y, -0.01, 1e-12);
}

TEST(FootprintScan, CentroidWithoutAngleAndOnlyTheFirstCentroidCounts) {
    FootprintRecord footprint = only_footprint(smd_footprint("A", "centroid: 0 10 20\ncentroid: 0 50 50 45\n"));
    EXPECT_DOUBLE_EQ(footprint.centroid_x, 0.01);
    EXPECT_DOUBLE_EQ(footprint.centroid_y, 0.02);
    EXPECT_EQ(footprint.centroid_angle, 0);
}

TEST(FootprintScan, AdhesiveSpotsInFileOrderWithDefaultWidthForZeroDiameter) {
    FootprintRecord footprint = only_footprint(
        smd_footprint("A", "adhesive: 0 20 -10 0\nadhesive: 0 0 0 5\nadhesive: 0 30 10 0\n"),
        "default_glue_width: \"508000\"\n");
    ASSERT_EQ(footprint.glue.count, 3);
    EXPECT_DOUBLE_EQ(footprint.glue[0].dia, 0.02);
    EXPECT_DOUBLE_EQ(footprint.glue[0].x, -0.01);
    EXPECT_DOUBLE_EQ(footprint.glue[1].dia, 0.02);  // 508000 nm from the header
    EXPECT_DOUBLE_EQ(footprint.glue[1].y, 0.005);
    EXPECT_DOUBLE_EQ(footprint.glue[2].dia, 0.03);
}

TEST(FootprintScan, LookAheadStopsAtTheFootprintsPinCount) {
    // The second footprint's adhesive line must not be taken by the first.
    Project project = load(project_file(
        smd_footprint("A", "centroid: 0 0 0 0\n") + smd_footprint("B", "centroid: 0 0 0 0\nadhesive: 0 10 0 0\n"), ""));
    ASSERT_EQ(project.footprint_count(), 2);
    EXPECT_EQ(project.footprints.records[0].glue.count, 1);  // the default spot at the centroid
    EXPECT_DOUBLE_EQ(project.footprints.records[0].glue[0].dia, 0.025);
    EXPECT_DOUBLE_EQ(project.footprints.records[1].glue[0].dia, 0.01);
}

TEST(FootprintScan, UnitsScaleStaysInForceForFollowingFootprints) {
    EXPECT_DOUBLE_EQ(units_scale("units: MIL\n"), 0.001);
    EXPECT_DOUBLE_EQ(units_scale("units: mil\n"), 1.0 / 25400000.0);
}

TEST(FootprintLookup, FirstRecordOfANameIsFound) {
    FootprintTable table;
    FootprintRecord a;
    a.name = "X";
    a.pin_count = 1;
    FootprintRecord b = a;
    b.pin_count = 2;
    add_footprint(table, a);
    add_footprint(table, b);
    EXPECT_EQ(find_footprint(table, "X"), 0);
    EXPECT_EQ(find_footprint(table, "x"), -1);
}
