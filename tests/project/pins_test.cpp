#include "project/pins.h"

#include <gtest/gtest.h>

#include "project_builder.h"

namespace {

FootprintRecord footprint_with(const std::string& body, const Settings& settings = Settings{},
                               const OverrideTable& overrides = OverrideTable{}, std::string* console_text = nullptr) {
    std::ostringstream console;
    Project project = load(project_file(footprint_block("FP", "MIL", body), ""), settings, overrides, console);
    if (console_text != nullptr) *console_text = console.str();
    return project.footprints.records.at(0);
}

const std::string DRILLED_PINS =
    "n_pins: 2\npin: 1 30 0 0 0\ntop_pad: 1 60 60 0 0 0\npin: 2 30 100 0 0\ntop_pad: 1 60 60 0 0 0\n";

FootprintOverride override_for(const std::string& name) {
    FootprintOverride record;
    record.name = name;
    record.centroid_x = record.centroid_y = -10.0;
    return record;
}

}  // namespace

TEST(Technology, DecisionTable) {
    EXPECT_EQ(decide_technology(2, 2, 0, 0), TECH_SMD);
    EXPECT_EQ(decide_technology(1, 2, 2, 0), TECH_THRU_HOLE);
    EXPECT_EQ(decide_technology(1, 3, 1, 0), TECH_MIXED);
    EXPECT_EQ(decide_technology(0, 2, 2, 0), TECH_NULL);  // no copper, mechanical parts are Null
    EXPECT_EQ(decide_technology(0, 2, 2, 1), TECH_THRU_HOLE);
    EXPECT_EQ(decide_technology(1, 0, 0, 0), TECH_NULL);
    EXPECT_EQ(decide_technology(1, 1, 2, 0), TECH_NULL);  // more drilled than listed
}

TEST(PinAnalysis, UndrilledPinsWithTopPadsAreSmd) {
    FootprintRecord footprint = footprint_with(
        "sel_rect: 0 0 0 0\nn_pins: 2\npin: 1 0 0 0 0\ntop_pad: 2 10 10 0 0 0\npin: 2 0 1 0 0\ntop_pad: 2 10 10 0 0 0\n");
    EXPECT_EQ(footprint.technology, TECH_SMD);
    EXPECT_EQ(footprint.pin_count, 2);
    EXPECT_EQ(footprint.pad_flags, 2);
}

TEST(PinAnalysis, DrilledPinsWithWiderRoundPadsAreThruHole) {
    EXPECT_EQ(footprint_with("sel_rect: 0 0 0 0\n" + DRILLED_PINS).technology, TECH_THRU_HOLE);
}

TEST(PinAnalysis, RoundPadsExactlyAsWideAsTheHoleAreNoCopper) {
    const std::string pins =
        "sel_rect: 0 0 0 0\nn_pins: 1\npin: 1 125 0 0 0\ntop_pad: 1 125 125 0 0 0\nbottom_pad: 1 125 125 0 0 0\n";
    FootprintRecord mechanical = footprint_with(pins);
    EXPECT_EQ(mechanical.technology, TECH_NULL);
    EXPECT_EQ(mechanical.pad_flags, 0);
    Settings normal;
    normal.mechanical_normal = 1;
    EXPECT_EQ(footprint_with(pins, normal).technology, TECH_THRU_HOLE);
}

TEST(PinAnalysis, NoListedPinsIsNull) {
    EXPECT_EQ(footprint_with("sel_rect: 0 0 0 0\nn_pins: 0\n").technology, TECH_NULL);
}

TEST(PinAnalysis, PinCountMismatchIsReportedOnlyInVerboseModeAndListedCountDecides) {
    const std::string body =
        "sel_rect: 0 0 0 0\nn_pins: 3\npin: 1 30 0 0 0\ntop_pad: 1 60 60 0 0 0\npin: 2 30 0 0 0\npin: 3 30 0 0 0\n"
        "pin: 4 30 0 0 0\n";
    std::string quiet, verbose_text;
    FootprintRecord footprint = footprint_with(body, Settings{}, OverrideTable{}, &quiet);
    EXPECT_EQ(footprint.pin_count, 3);
    EXPECT_EQ(footprint.found_pins, 4);          // kept for the placement check
    EXPECT_EQ(footprint.technology, TECH_NULL);  // 4 drilled of 3 listed
    EXPECT_EQ(quiet, "Project: Test Board\n\n");
    Settings verbose;
    verbose.verbose = 1;
    footprint_with(body, verbose, OverrideTable{}, &verbose_text);
    EXPECT_EQ(verbose_text, "Project: Test Board\n\n\nFP Pin count error: Listed 3, Found 4\n");
}

TEST(PinAnalysis, PinCountWithoutNumberLeavesSmdAndNoPins) {
    FootprintRecord footprint = footprint_with("sel_rect: 0 0 0 0\nn_pins: none\npin: 1 30 0 0 0\n");
    EXPECT_EQ(footprint.pin_count, 0);
    EXPECT_EQ(footprint.pad_flags, 0);
    EXPECT_EQ(footprint.technology, TECH_SMD);
}

TEST(PinAnalysis, EndOfFileBeforePinCount) {
    std::ostringstream console;
    const std::string text = "a\nb\n";
    LineCursor cursor{text};
    FootprintRecord footprint;
    Settings settings;
    OverrideTable overrides;
    EXPECT_EQ(read_pins(footprint, 0.001, cursor, LoadContext{settings, overrides, console}), -2);
    EXPECT_EQ(console.str(), "\nError analyzing pins\n");
}

TEST(FootprintCompletion, CentroidDefaultsToTheSelectionRectangleCentre) {
    FootprintRecord footprint = footprint_with("sel_rect: -100 -50 300 150\nn_pins: 0\n");
    EXPECT_DOUBLE_EQ(footprint.centroid_x, 0.1);
    EXPECT_DOUBLE_EQ(footprint.centroid_y, 0.05);
    EXPECT_EQ(footprint.centroid_given, 0);
}

TEST(FootprintCompletion, SmdWithoutAdhesiveGetsTheDefaultSpotAtTheCentroid) {
    FootprintRecord footprint = footprint_with(
        "centroid: 0 10 20 0\nsel_rect: 0 0 0 0\nn_pins: 2\npin: 1 0 0 0 0\ntop_pad: 2 1 1 0 0 0\npin: 2 0 0 0 0\n");
    ASSERT_EQ(footprint.glue.count, 1);
    EXPECT_DOUBLE_EQ(footprint.glue[0].x, 0.01);
    EXPECT_DOUBLE_EQ(footprint.glue[0].y, 0.02);
    EXPECT_DOUBLE_EQ(footprint.glue[0].dia, 0.025);
}

TEST(FootprintCompletion, NullFootprintLosesItsAdhesiveUnderDefaultGlueRules) {
    FootprintRecord footprint = footprint_with("adhesive: 0 20 0 0\nsel_rect: 0 0 0 0\nn_pins: 0\n");
    EXPECT_EQ(footprint.technology, TECH_NULL);
    EXPECT_EQ(footprint.glue.count, 0);
    Settings all;
    all.glue_technologies = 15;
    EXPECT_EQ(footprint_with("adhesive: 0 20 0 0\nsel_rect: 0 0 0 0\nn_pins: 0\n", all).glue.count, 1);
}

TEST(FootprintCompletion, OverrideAddsSpotsAfterTheFootprintsOwnAndKeepsCentroidWhenNotGiven) {
    OverrideTable overrides;
    FootprintOverride record = override_for("FP");
    record.glue.add(0.1, 0.2, 0.03);
    record.glue.add(-9.5, 0.0, 0.03);  // not given: skipped
    record.glue.add(0.3, 0.4, -1.0);   // default size
    overrides.add(record);
    Settings settings;
    settings.default_glue_spot_size = 0.04;
    FootprintRecord footprint = footprint_with(
        "centroid: 0 5 5 0\nadhesive: 0 10 1 1\nsel_rect: 0 0 0 0\nn_pins: 1\npin: 1 0 0 0 0\ntop_pad: 2 1 1 0 0 0\n",
        settings, overrides);
    EXPECT_DOUBLE_EQ(footprint.centroid_x, 0.005);
    ASSERT_EQ(footprint.glue.count, 3);
    EXPECT_DOUBLE_EQ(footprint.glue[0].dia, 0.01);
    EXPECT_DOUBLE_EQ(footprint.glue[1].x, 0.1);
    EXPECT_DOUBLE_EQ(footprint.glue[1].dia, 0.03);
    EXPECT_DOUBLE_EQ(footprint.glue[2].x, 0.3);
    EXPECT_DOUBLE_EQ(footprint.glue[2].dia, 0.04);
}

TEST(FootprintCompletion, OverrideCentroidAndExclusion) {
    OverrideTable overrides;
    FootprintOverride record = override_for("FP");
    record.centroid_x = 0.5;
    record.centroid_y = -0.25;
    record.excluded = 1;
    overrides.add(record);
    FootprintRecord footprint =
        footprint_with("centroid: 0 5 5 90\nsel_rect: 0 0 0 0\nn_pins: 1\npin: 1 0 0 0 0\ntop_pad: 2 1 1 0 0 0\n",
                       Settings{}, overrides);
    EXPECT_DOUBLE_EQ(footprint.centroid_x, 0.5);
    EXPECT_DOUBLE_EQ(footprint.centroid_y, -0.25);
    EXPECT_EQ(footprint.centroid_angle, 90);
    EXPECT_EQ(footprint.excluded, 1);
    // The default spot is made at the overridden centroid.
    ASSERT_EQ(footprint.glue.count, 1);
    EXPECT_DOUBLE_EQ(footprint.glue[0].x, 0.5);
}

TEST(FootprintCompletion, OverrideGlueIsNotAddedToAClassWithoutGlue) {
    OverrideTable overrides;
    FootprintOverride record = override_for("FP");
    record.glue.add(0.1, 0.1, 0.02);
    overrides.add(record);
    FootprintRecord footprint = footprint_with("sel_rect: 0 0 0 0\n" + DRILLED_PINS, [] {
        Settings s;
        s.glue_technologies = 1;  // SMD only
        return s;
    }(), overrides);
    EXPECT_EQ(footprint.technology, TECH_THRU_HOLE);
    EXPECT_EQ(footprint.glue.count, 0);
}
