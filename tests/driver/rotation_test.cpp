#include "driver/rotation.h"

#include <gtest/gtest.h>

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
