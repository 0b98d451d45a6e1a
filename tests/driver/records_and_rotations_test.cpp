#include "driver/records_and_rotations.h"

#include <gtest/gtest.h>

#include "../config/reader_fixture.h"

namespace {

int rotation(int layout_angle, unsigned side, const Settings& settings, int centroid_angle = 0) {
    PartRecord part;
    part.layout_angle = layout_angle;
    part.side = side;
    return placement_rotation(part, centroid_angle, settings);
}

}  // namespace

TEST(PlacementRotation, DefaultsTurnCounterClockwise) {
    Settings defaults;
    EXPECT_EQ(rotation(0, 0, defaults), 0);
    EXPECT_EQ(rotation(90, 0, defaults), 270);
    EXPECT_EQ(rotation(270, 1, defaults), 90);
    EXPECT_EQ(rotation(180, 0, defaults, 90), 180);  // factor 0 ignores the centroid angle
}

TEST(PlacementRotation, RuleOfEachSide) {
    Settings settings;
    settings.top_ccw = 0;
    settings.top_rotation_offset = 270;
    settings.top_centroid_factor = 1;
    settings.bottom_rotation_offset = -90;
    settings.bottom_centroid_factor = -1;
    EXPECT_EQ(rotation(90, 0, settings, 45), 45);
    EXPECT_EQ(rotation(90, 1, settings, 45), (270 - 90 + 1080 - 45) % 360);
    EXPECT_EQ(rotation(0, 2, settings, 0), 270);  // any nonzero side uses the bottom rule
}

TEST(PlacementRotation, AnglesOutsideOneTurnKeepTheirRemainder) {
    Settings settings;
    settings.top_ccw = 0;
    EXPECT_EQ(rotation(-1200, 0, settings), -120);
    EXPECT_EQ(rotation(2147483647, 0, settings), static_cast<int>((2147483647LL + 1080) % 360));
}

namespace {

PartRecord part_with_glue(const std::string& ref_des, int spots) {
    PartRecord part;
    part.ref_des = ref_des;
    for (int i = 0; i < spots; ++i) part.glue.add(i, i, 0.02);
    return part;
}

}  // namespace

TEST(ApplyInfoRecord, TextExclusionAndGlue) {
    CommandFileRun run;
    run.read("-I R5 Note 0 0\n-I R6 Note 0 0.04\n-I R7 Gone 1\n-I R5 Second\n");
    PartRecord r5 = part_with_glue("R5", 2);
    EXPECT_EQ(apply_info_record(run.info, r5), 0);
    EXPECT_EQ(r5.info_text, "Second");
    EXPECT_EQ(r5.glue.count, 0);
    EXPECT_EQ(r5.glue.first().dia, 0.0);
    PartRecord r6 = part_with_glue("R6", 3);
    apply_info_record(run.info, r6);
    EXPECT_DOUBLE_EQ(r6.glue[2].dia, 0.04);
    PartRecord r7 = part_with_glue("R7", 1);
    r7.excluded = 0;
    apply_info_record(run.info, r7);
    EXPECT_EQ(r7.excluded, 1);
    PartRecord other = part_with_glue("r5", 1);
    EXPECT_EQ(apply_info_record(run.info, other), -1);
    EXPECT_EQ(other.info_text, "");
}

TEST(ApplyInfoRecord, RecordWithFlagZeroReincludesAPart) {
    CommandFileRun run;
    run.read("-I U1 back 0\n");
    PartRecord part = part_with_glue("U1", 1);
    part.excluded = 1;  // from a footprint override
    apply_info_record(run.info, part);
    EXPECT_EQ(part.excluded, 0);
}
