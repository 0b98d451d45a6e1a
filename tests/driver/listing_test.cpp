#include "driver/listing.h"

#include <gtest/gtest.h>

#include "report_fixture.h"

namespace {

const std::string HEADING =
    " RefDes        Footprint         Side    Loc X    Loc Y   Rot  Glue X   Glue Y   Glu Dia  Technology  Pins";
const std::string DASHES =
    "--------  --------------------  ------  -------  -------  ---  -------  -------  -------  ----------  ----";

std::string header(int parts, const char* units = "INCH") {
    return std::string("\nProject: Fixture\n\n   1 Footprints found.\n") + "   " + std::to_string(parts) +
           " Parts found.\n\nUnits: " + units +
           "\n\nNote: Bottom side coordinates are not mirrored.\nRotation is in Degrees:\n  Top = CCW\n  Bottom = CCW\n";
}

}  // namespace

TEST(PlainListing, WorkedRowInInchesAndMillimetres) {
    ReportFixture fixture;
    fixture.add("R1", 1.5, 2.25, 270);
    EXPECT_EQ(fixture.write(write_plain_listing),
              header(1) + "\n" + HEADING + "\n" + DASHES +
                  "\nR1        R0805                 Top      1.5000   2.2500  270   1.5000   2.2500   0.0500  SMD  "
                  "          2  \n\n");
    fixture.settings.units_mm = 1;
    std::string mm = fixture.write(write_plain_listing);
    EXPECT_NE(mm.find("\nR1        R0805                 Top       38.10    57.15  270    38.10    57.15     1.27  SMD"
                      "            2  \n\n"),
              std::string::npos);
    EXPECT_NE(mm.find("Units: MM"), std::string::npos);
}

TEST(PlainListing, MarksExclusionAndUnknownClass) {
    ReportFixture fixture;
    fixture.add("L1", 1.5, 2.25, 0).pos_flag = 1;
    PartRecord& one_pin = fixture.add("TP1", 0, 0, 0);
    one_pin.pin_count = 1;
    PartRecord& bare = fixture.add("MK1", 0, 0, 0, 1, 9);
    bare.pad_flags = 0;
    fixture.add("X1", 0, 0, 0).excluded = 1;
    std::string out = fixture.write(write_plain_listing);
    EXPECT_NE(out.find(" 1.5000 L 2.2500 "), std::string::npos);
    EXPECT_NE(out.find("SMD            1 *"), std::string::npos);
    EXPECT_NE(out.find("Bottom   0.0000   0.0000    0   0.0000   0.0000   0.0500  Null           2 *"), std::string::npos);
    EXPECT_EQ(out.find("X1"), std::string::npos);
    EXPECT_EQ(fixture.bottom.total, 1);
    EXPECT_EQ(fixture.top.excluded_count, 1);
}

TEST(PlainListing, EmptyProject) {
    ReportFixture fixture;
    EXPECT_EQ(fixture.write(write_plain_listing), header(0) + "\n" + HEADING + "\n" + DASHES + "\n\n");
    EXPECT_EQ(fixture.write(write_grouped_listing), header(0) + "\n\n");
}

TEST(ReportHeader, RotationRuleTexts) {
    ReportFixture fixture;
    fixture.settings.top_rotation_offset = -90;
    fixture.settings.top_centroid_factor = -1;
    fixture.settings.top_ccw = 0;
    fixture.settings.bottom_rotation_offset = 180;
    fixture.settings.bottom_centroid_factor = 1;
    std::string out = fixture.write(write_plain_listing);
    EXPECT_NE(out.find("\n  Top = CW - 90 - Centroid Rotation\n  Bottom = CCW + 180 + Centroid Rotation\n"),
              std::string::npos);
}

TEST(InformationColumn, HeadingIsCentredAndTextsCut) {
    InfoColumn column = prepare_info_column("Part No");
    EXPECT_EQ(column.heading_block, "    Part No       ");
    EXPECT_EQ(column.dash_block, "----------------  ");
    EXPECT_EQ(prepare_info_column("").heading_block, "");
    EXPECT_EQ(prepare_info_column("ABCDEFGHIJKLMNOP").heading_block, "ABCDEFGHIJKLMNOP  ");

    ReportFixture fixture;
    fixture.settings.info_heading = "Part No";
    fixture.add("R1", 0, 0, 0).info_text = "A very long information text";
    std::string out = fixture.write(write_plain_listing);
    EXPECT_NE(out.find("\n RefDes       Part No            Footprint"), std::string::npos);
    EXPECT_NE(out.find("\n--------  ----------------  --------------------"), std::string::npos);
    EXPECT_NE(out.find("\nR1        A very long info  R0805"), std::string::npos);
}

TEST(GroupedListing, GroupsBySideAndClassWithGlueByClass) {
    ReportFixture fixture;
    fixture.add("R1", 1, 1, 0);
    fixture.add("J1", 1, 1, 0, 0, TECH_THRU_HOLE);
    fixture.add("M1", 1, 1, 0, 0, TECH_MIXED);
    fixture.add("H1", 1, 1, 0, 0, TECH_NULL);
    fixture.add("R2", 2, 2, 90, 1);
    fixture.add("R3", 3, 3, 0, 1).excluded = 1;
    fixture.settings.glue_technologies = 3;  // no glue for Mixed or Null
    std::string out = fixture.write(write_grouped_listing);
    std::string group_start = "\n\n" + HEADING + "\n" + DASHES;
    size_t groups = 0;
    for (size_t at = out.find(group_start); at != std::string::npos; at = out.find(group_start, at + 1)) ++groups;
    EXPECT_EQ(groups, 5u);
    EXPECT_NE(out.find("Top      1.0000   1.0000    0   1.0000   1.0000   0.0500  Thru-Hole"), std::string::npos);
    EXPECT_NE(out.find("Top      1.0000   1.0000    0   1.0000   1.0000   0.0000  Mixed"), std::string::npos);
    EXPECT_NE(out.find("Top      1.0000   1.0000    0   1.0000   1.0000   0.0000  Null"), std::string::npos);
    EXPECT_LT(out.find("\nR1 "), out.find("\nJ1 "));
    EXPECT_LT(out.find("\nH1 "), out.find("\nR2 "));
    EXPECT_EQ(out.find("\nR3 "), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 2), "\n\n");
}

TEST(GroupedListing, SideWhosePartsAreAllExcludedPrintsNothing) {
    ReportFixture fixture;
    fixture.add("R1", 1, 1, 0, 1).excluded = 1;
    EXPECT_EQ(fixture.write(write_grouped_listing), header(1) + "\n\n");
}
