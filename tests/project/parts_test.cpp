#include "project/parts.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/fatal.h"
#include "common/files.h"
#include "project_builder.h"
#include "test_support.h"

namespace {

// A footprint whose centroid is (0.1, 0.2) in and whose one glue spot is at (0.3, 0.0) in.
const std::string OFFSET_FOOTPRINT =
    smd_footprint("OFF", "centroid: 0 100 200 0\nadhesive: 0 20 300 0\n");
constexpr double INCH = 25400000.0;  // nanometres

PartRecord only_part(int side, int angle) {
    Project project =
        load(project_file(OFFSET_FOOTPRINT, part_block("P1", "OFF", 1000000, 2000000, side, angle)));
    EXPECT_EQ(project.part_count(), 1);
    return project.parts.at(0);
}

}  // namespace

TEST(PartGeometry, TopSideRightAngles) {
    const double ox = 1000000 / INCH, oy = 2000000 / INCH;
    PartRecord at0 = only_part(0, 0);
    EXPECT_DOUBLE_EQ(at0.x, ox + 0.1);
    EXPECT_DOUBLE_EQ(at0.y, oy + 0.2);
    PartRecord at90 = only_part(0, 90);
    EXPECT_DOUBLE_EQ(at90.x, ox + 0.2);
    EXPECT_DOUBLE_EQ(at90.y, oy - 0.1);
    EXPECT_DOUBLE_EQ(at90.glue[0].x, ox + 0.0);
    EXPECT_DOUBLE_EQ(at90.glue[0].y, oy - 0.3);
    PartRecord at180 = only_part(0, 180);
    EXPECT_DOUBLE_EQ(at180.x, ox - 0.1);
    EXPECT_DOUBLE_EQ(at180.y, oy - 0.2);
    PartRecord at270 = only_part(0, 270);
    EXPECT_DOUBLE_EQ(at270.x, ox - 0.2);
    EXPECT_DOUBLE_EQ(at270.y, oy + 0.1);
    EXPECT_EQ(at270.layout_angle, 270);
    EXPECT_EQ(at270.angle, 270);
}

TEST(PartGeometry, BottomSideMirrorsXOnly) {
    const double ox = 1000000 / INCH, oy = 2000000 / INCH;
    PartRecord at0 = only_part(1, 0);
    EXPECT_DOUBLE_EQ(at0.x, ox - 0.1);
    EXPECT_DOUBLE_EQ(at0.y, oy + 0.2);
    EXPECT_DOUBLE_EQ(at0.glue[0].x, ox - 0.3);
    PartRecord at90 = only_part(1, 90);
    EXPECT_DOUBLE_EQ(at90.x, ox + 0.2);
    EXPECT_DOUBLE_EQ(at90.y, oy + 0.1);
    EXPECT_EQ(at90.side, 1u);
}

TEST(PartGeometry, OtherAnglesAreRotatedClockwise) {
    const double ox = 1000000 / INCH, oy = 2000000 / INCH;
    PartRecord at45 = only_part(0, 45);
    const double h = std::sqrt(0.5);
    EXPECT_NEAR(at45.x, ox + 0.1 * h + 0.2 * h, 1e-12);
    EXPECT_NEAR(at45.y, oy - 0.1 * h + 0.2 * h, 1e-12);
    EXPECT_EQ(at45.angle, 45);  // the printed rotation is not affected
    // Angles outside one turn use the right-angle table after the remainder.
    PartRecord at450 = only_part(0, 450);
    EXPECT_DOUBLE_EQ(at450.x, ox + 0.2);
    EXPECT_DOUBLE_EQ(at450.y, oy - 0.1);
    PartRecord turned_back;
    turned_back.layout_angle = -90;
    BoardPoint negative = to_board(turned_back, 0.1, 0.2);
    EXPECT_DOUBLE_EQ(negative.x, -0.2);
    EXPECT_DOUBLE_EQ(negative.y, 0.1);
}

TEST(PartsReader, CopiesFootprintDataAndTexts) {
    Project project = load(project_file(OFFSET_FOOTPRINT, part_block("R7", "OFF", 0, 0, 0, 0, 3, "4k7")));
    const PartRecord& part = project.parts.at(0);
    EXPECT_EQ(part.ref_des, "R7");
    EXPECT_EQ(part.shape, "OFF");
    EXPECT_EQ(part.value, "4k7");
    EXPECT_EQ(part.pos_flag, 3u);
    EXPECT_EQ(part.pin_count, 2);
    EXPECT_EQ(part.pad_flags, 2);
    EXPECT_EQ(part.technology, TECH_SMD);
    EXPECT_EQ(part.footprint_index, 0);
    EXPECT_EQ(part.glue.count, 1);
    EXPECT_DOUBLE_EQ(part.glue[0].dia, 0.02);
}

TEST(PartsReader, ValueIsCutAt128CharactersAndLinesAfterPosAreIgnored) {
    std::string long_value(200, 'v');
    Project project = load(project_file(OFFSET_FOOTPRINT,
                                        "part: A1\nshape: \"OFF\"\nvalue: \"" + long_value +
                                            "\"\npos: 0 0 0 0 0\nshape: \"NONE\"\nvalue: \"late\"\n\n"));
    EXPECT_EQ(project.parts.at(0).value, std::string(128, 'v'));
    EXPECT_EQ(project.parts.at(0).shape, "OFF");
}

TEST(PartsReader, SectionBoundsAndErrors) {
    EXPECT_EQ(load(project_file(OFFSET_FOOTPRINT, "")).part_count(), 0);
    EXPECT_EQ(fatal_message("[footprints]\n[board]\n"), "\nParts not found\n");
    EXPECT_EQ(fatal_message("[footprints]\n" + OFFSET_FOOTPRINT + "[board]\n[parts]\n" + part_block("R1", "OFF", 0, 0, 0, 0)),
              "\nPremature EOF reading Parts\n");
    EXPECT_EQ(fatal_message(project_file(OFFSET_FOOTPRINT, part_block("R1", "MISSING", 0, 0, 0, 0))),
              "\nR1 has unknown footprint: MISSING\n");
    EXPECT_EQ(load("[footprints]\n[board]\n[parts]\n[texts]\n").part_count(), 0);
}

TEST(PartsReader, AFatalErrorLeavesOnlyCompleteParts) {
    const std::string file = "[footprints]\n" + OFFSET_FOOTPRINT + "[board]\n[parts]\n" +
                             part_block("R1", "OFF", 0, 0, 0, 0);
    for (const std::string& tail : {std::string("part: R2\nshape: \"OFF\"\n"), part_block("R3", "NONE", 0, 0, 0, 0)}) {
        std::string text = file + tail;
        Project project;
        Settings settings;
        OverrideTable overrides;
        std::ostringstream console;
        EXPECT_THROW(load_project(text, LoadContext{settings, overrides, console}, project), FatalError);
        ASSERT_EQ(project.part_count(), 1);
        EXPECT_EQ(project.parts[0].ref_des, "R1");
    }
}

TEST(PartsReader, ManyPartsKeepFileOrderAndTheFirstUnknownFootprintStops) {
    // Enough parts and footprints that the footprints are attached to the parts in groups:
    // every part must still get its own footprint, and the first unknown footprint in file
    // order must be the one reported, with only the parts before it kept.
    std::string footprints;
    for (int f = 0; f < 150; ++f) footprints += smd_footprint(numbered("F", f), "centroid: 0 " + std::to_string(f) + " 0 0\n");
    auto blocks = [](int count, int unknown_at, int second_unknown_at) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            std::string shape = i == unknown_at ? "NONE" : i == second_unknown_at ? "ALSO_NONE" : numbered("F", i * 7 % 150);
            text += part_block(numbered("P", i), shape, i, 0, 0, 0);
        }
        return text;
    };
    Project all = load(project_file(footprints, blocks(500, -1, -1)));
    ASSERT_EQ(all.part_count(), 500);
    for (const PartRecord& part : all.parts) {
        int i = std::stoi(part.ref_des.substr(1));
        ASSERT_EQ(part.shape, numbered("F", i * 7 % 150));
        ASSERT_EQ(part.footprint_index, i * 7 % 150);
        ASSERT_NEAR(part.x, i / INCH + (i * 7 % 150) * 0.001, 1e-12) << part.ref_des;
    }
    for (int unknown_at : {0, 31, 32, 100, 449}) {
        const std::string complete = project_file(footprints, blocks(500, unknown_at, 450));
        EXPECT_EQ(fatal_message(complete), "\nP" + std::to_string(unknown_at) + " has unknown footprint: NONE\n");
        // Cut off without the end of the section: the unknown footprint still comes first.
        const std::string cut = "[footprints]\n" + footprints + "[board]\n[parts]\n" + blocks(300, unknown_at, -1);
        EXPECT_EQ(fatal_message(cut), unknown_at < 300 ? "\nP" + std::to_string(unknown_at) + " has unknown footprint: NONE\n"
                                                       : "\nPremature EOF reading Parts\n");
        Project project;
        Settings settings;
        OverrideTable overrides;
        std::ostringstream console;
        EXPECT_THROW(load_project(complete, LoadContext{settings, overrides, console}, project), FatalError);
        ASSERT_EQ(project.part_count(), unknown_at);
        for (const PartRecord& part : project.parts) ASSERT_EQ(part.shape, "F" + std::to_string(std::stoi(part.ref_des.substr(1)) * 7 % 150));
    }
}

TEST(PartsReader, WindowsLineEndsReadLikeUnixOnes) {
    std::string unix_file = project_file(OFFSET_FOOTPRINT, part_block("R1", "OFF", 5, 7, 0, 90));
    std::string windows_file;
    for (char c : unix_file) windows_file += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Project a = load(unix_file), b = load(windows_file);
    EXPECT_EQ(b.parts.at(0).ref_des, "R1");
    EXPECT_EQ(b.parts.at(0).x, a.parts.at(0).x);
    EXPECT_EQ(b.footprints.records.at(0).technology, TECH_SMD);
}

TEST(PartsReader, AFootprintErrorComesFirstAndLeavesNoParts) {
    // The footprints are read first: their error is the one reported and no part is read.
    std::string parts;
    for (int i = 0; i < 200; ++i) parts += part_block(numbered("R", i), "OFF", i, 0, 0, 0);
    const std::string no_board = "[footprints]\n" + OFFSET_FOOTPRINT + "[parts]\n" + parts + "[nets]\n[end]\n";
    EXPECT_EQ(fatal_message(no_board), "\nPremature EOF in Footprints\n");
    Project project;
    Settings settings;
    OverrideTable overrides;
    std::ostringstream console;
    EXPECT_THROW(load_project(no_board, LoadContext{settings, overrides, console}, project), FatalError);
    EXPECT_EQ(project.part_count(), 0);
    EXPECT_EQ(fatal_message("[parts]\n" + parts + "[nets]\n"), "\nFootprints not found\n");
}

TEST(PartsReader, FootprintsInsideThePartsSection) {
    // The parts section may begin before the footprints: each reader scans from the top, the
    // part reader passing over the footprint blocks, the footprint reader over the parts.
    std::string footprints;
    for (int f = 0; f < 600; ++f)
        footprints += smd_footprint(numbered("F", f), "centroid: 0 " + std::to_string(f % 97) + " 0 0\n");
    std::string parts;
    for (int i = 0; i < 500; ++i) parts += part_block(numbered("P", i), numbered("F", i % 600), i, 0, 0, 0);
    const std::string file = "[parts]\n[footprints]\n" + footprints + "[board]\n" + parts + "[nets]\n[end]\n";
    ScratchDir dir;
    write_file(dir.file("inside.lpf"), file);
    std::string text;
    ASSERT_TRUE(read_text_file(dir.file("inside.lpf"), text));
    Project project;
    Settings settings;
    OverrideTable overrides;
    std::ostringstream console;
    load_project(std::move(text), LoadContext{settings, overrides, console}, project);
    ASSERT_EQ(project.footprint_count(), 600);
    ASSERT_EQ(project.part_count(), 500);
    for (const PartRecord& part : project.parts) {
        int i = std::stoi(part.ref_des.substr(1));
        ASSERT_EQ(part.footprint_index, i % 600);
        ASSERT_NEAR(part.x, i / INCH + (i % 600 % 97) * 0.001, 1e-12) << part.ref_des;
    }
}
