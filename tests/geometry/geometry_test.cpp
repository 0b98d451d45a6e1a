// The footprints' copper and outlines and the board outline as the project reader keeps them for
// the check and the review page, and the geometry on them.
#include "geometry/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "project/project_builder.h"

using namespace geometry;

namespace {

constexpr double MIL = 0.001;
constexpr double TOL = 1e-12;

// Pins at the four angles with pads 20 wide, 30 along the axis and 10 against it; a bare hole
// and a round pad; a closed outline and an open one with an arc; then nanometre footprints.
const std::string PROJECT = "[footprints]\n" +
                            footprint_block("MILPART", "MIL",
                                            "outline_polyline: 10 0 0 1 0 4\n"
                                            "next_corner: 10 0 0\n"
                                            "next_corner: 10 10 0\n"
                                            "close_polyline: 1\n"
                                            "sel_rect: 0 0 0 0\n"
                                            "n_pins: 5\n"
                                            "\tpin: 1 0 100 0 0\n"
                                            "\t  top_pad: 3 20 30 10 0\n"
                                            "\tpin: 2 0 0 100 90\n"
                                            "\t  top_pad: 3 20 30 10 0\n"
                                            "\tpin: 3 0 -100 0 180\n"
                                            "\t  bottom_pad: 3 20 30 10 0\n"
                                            "\tpin: 4 0 0 -100 270\n"
                                            "\t  inner_pad: 3 20 30 10 0\n"
                                            "\tpin: 5 40 0 0 0\n"
                                            "\t  top_pad: 1 40 0 0 0\n"
                                            "\t  bottom_pad: 1 60 0 0 0\n"
                                            "\t  top_mask: 1 300 0 0 0\n"
                                            "\toutline_polyline: 5 0 0\n"
                                            "\tnext_corner: 50 50 1\n") +
                            footprint_block("NMPART", "NM",
                                            "sel_rect: 0 0 0 0\nn_pins: 1\npin: A1 254000 2540000 0 0\n"
                                            "  top_pad: 4 1270000 1270000 1270000 254000\n"
                                            "  bottom_pad: 5 1270000 2540000 0 0\n") +
                            "name: \"NEXT\"\nsel_rect: 0 0 0 0\nn_pins: 1\npin: 1 0 25400000 0 0\n"
                            "  top_pad: 2 254000 9999 9999 0\n\n" +
                            footprint_block("MILPART", "MIL", "sel_rect: 0 0 0 0\nn_pins: 1\npin: 9 0 0 0 0\n") +
                            "[board]\n\n"
                            "outline: 5 0\n"
                            "  corner: 1 0 0 0\n"
                            "  corner: 2 254000000 0 0\n"
                            "  corner: 3 254000000 203200000 2\n"
                            "  corner: 4 203200000 254000000 0\n"
                            "  corner: 5 0 254000000 0 0\n"
                            "  corner: 6 50800000 50800000 0 1\n"
                            "  corner: 7 101600000 50800000 0 1\n"
                            "  corner: 8 101600000 101600000 0 1\n"
                            "  corner: 9 50800000 101600000 0 1\n"
                            "outline: 4 0\n"
                            "  corner: 1 508000000 0 0\n"
                            "  corner: 2 762000000 0 0\n"
                            "  corner: 3 762000000 254000000 0\n"
                            "  corner: 4 508000000 254000000 0\n"
                            "[parts]\n[nets]\n";

void expect_box(const Box& box, double min_x, double min_y, double max_x, double max_y) {
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR(box.min_x, min_x, TOL);
    EXPECT_NEAR(box.min_y, min_y, TOL);
    EXPECT_NEAR(box.max_x, max_x, TOL);
    EXPECT_NEAR(box.max_y, max_y, TOL);
}

void expect_point(Point point, double x, double y) {
    EXPECT_NEAR(point.x, x, TOL);
    EXPECT_NEAR(point.y, y, TOL);
}

Box pad_box(const PinRecord& pin, const PadRecord& pad) {
    const std::optional<PadCopper> copper = pad_copper(pin, pad);
    return copper ? box_of(*copper) : Box{};
}

PartRecord placed_at(double x, double y, int angle, unsigned side) {
    PartRecord part;
    part.origin_x = x;
    part.origin_y = y;
    part.layout_angle = angle;
    part.side = side;
    return part;
}

struct GeometrySample : ::testing::Test {
    Project project = load_with_copper(PROJECT);
    const FootprintRecord& mil = project.footprints.records.at(0);
    const PinRecord& nm_pin = project.footprints.records.at(1).pins.at(0);
};

}  // namespace

TEST_F(GeometrySample, PinsPadsUnitsAndOutlinesAsTheReaderKeepsThem) {
    ASSERT_EQ(project.footprint_count(), 4);
    ASSERT_EQ(mil.pins.size(), 5u);
    EXPECT_EQ(mil.pins[0].name + mil.pins[1].name, "12");
    EXPECT_DOUBLE_EQ(mil.pins[2].x, -100 * MIL);
    EXPECT_EQ(mil.pins[3].angle, 270);
    EXPECT_EQ(mil.pins[2].pads.at(0).layer, LAYER_BOTTOM);
    EXPECT_EQ(mil.pins[3].pads.at(0).layer, LAYER_INNER);
    EXPECT_EQ(mil.pins[4].pads.size(), 2u);  // the mask line is not copper
    // Outline lines before the pin list and inside it alike.
    ASSERT_EQ(mil.outlines.size(), 2u);
    EXPECT_EQ(nm_pin.name, "A1");
    EXPECT_DOUBLE_EQ(nm_pin.drill, 0.01);
    EXPECT_DOUBLE_EQ(nm_pin.pads.at(0).radius, 0.01);
    // Without a units line of its own, the next footprint stays in nanometres.
    EXPECT_DOUBLE_EQ(project.footprints.records.at(2).pins.at(0).x, 1.0);
    // A plain run keeps none of it, and the board outline all the same.
    const Project plain = load(PROJECT);
    EXPECT_TRUE(plain.footprints.records.at(0).pins.empty() && plain.footprints.records.at(0).outlines.empty());
    EXPECT_EQ(plain.board_outlines.size(), 2u);
}

TEST_F(GeometrySample, CopperBoxesAtAllFourAnglesFollowLen1AndLen2) {
    auto box = [&](size_t pin) { return pad_box(mil.pins.at(pin), mil.pins.at(pin).pads.at(0)); };
    expect_box(box(0), 90 * MIL, -10 * MIL, 130 * MIL, 10 * MIL);    // 0: len1 toward +x
    expect_box(box(1), -10 * MIL, 70 * MIL, 10 * MIL, 110 * MIL);    // 90: len1 toward -y
    expect_box(box(2), -130 * MIL, -10 * MIL, -90 * MIL, 10 * MIL);  // 180: len1 toward -x
    expect_box(box(3), -10 * MIL, -110 * MIL, 10 * MIL, -70 * MIL);  // 270: len1 toward +y
    // The round pad as wide as the drill is a bare hole; the wider one on the bottom counts.
    const PinRecord& hole = mil.pins.at(4);
    EXPECT_FALSE(is_copper(hole.pads[0]));
    EXPECT_FALSE(pad_copper(hole, hole.pads[0]).has_value());
    expect_box(pad_box(hole, hole.pads[1]), -30 * MIL, -30 * MIL, 30 * MIL, 30 * MIL);
    expect_box(copper_box(mil), -130 * MIL, -110 * MIL, 130 * MIL, 110 * MIL);
    EXPECT_TRUE(copper_box(FootprintRecord{}).empty());
    // A square pad is as long as wide whatever its lengths; turned 45 degrees its box grows.
    const PinRecord& square = project.footprints.records.at(2).pins.at(0);
    expect_box(pad_box(square, square.pads[0]), 0.995, -0.005, 1.005, 0.005);
    PinRecord turned{"t", 0.0, 0.0, 0.0, 45, {{LAYER_TOP, PAD_SQUARE, 0.02, 0.0, 0.0, 0.0}}};
    const double half_diagonal = 0.01 * std::sqrt(2.0);
    expect_box(pad_box(turned, turned.pads[0]), -half_diagonal, -half_diagonal, half_diagonal, half_diagonal);
}

TEST_F(GeometrySample, RoundedPadsKeepTheirRadiusAndRoundPadsAreCircles) {
    // Rounded rectangle 0.05 x 0.1 centred on the pin; oval 0.05 x 0.1 pushed to +x. Their
    // points lie at the radius from the rectangle that the corners' centres span.
    expect_box(pad_box(nm_pin, nm_pin.pads[0]), 0.05, -0.025, 0.15, 0.025);
    expect_box(pad_box(nm_pin, nm_pin.pads[1]), 0.1, -0.025, 0.2, 0.025);
    auto expect_rounded = [](const PadCopper& copper, Box inner, double radius) {
        EXPECT_FALSE(copper.circle);
        EXPECT_GT(copper.polygon.size(), 8u);
        for (const Point& point : copper.polygon) {
            const double dx = std::max({inner.min_x - point.x, 0.0, point.x - inner.max_x});
            const double dy = std::max({inner.min_y - point.y, 0.0, point.y - inner.max_y});
            EXPECT_NEAR(std::hypot(dx, dy), radius, TOL);
        }
    };
    expect_rounded(*pad_copper(nm_pin, nm_pin.pads[0]), Box{0.06, -0.015, 0.14, 0.015}, 0.01);
    expect_rounded(*pad_copper(nm_pin, nm_pin.pads[1]), Box{0.125, 0.0, 0.175, 0.0}, 0.025);
    PinRecord turned{"t", 0.0, 0.0, 0.0, 45, {{LAYER_TOP, PAD_OCTAGON, 0.02}, {LAYER_TOP, PAD_ROUND, 0.04}}};
    EXPECT_EQ(pad_copper(turned, turned.pads[0])->polygon.size(), 8u);
    const PadCopper circle = *pad_copper(turned, turned.pads[1]);
    EXPECT_TRUE(circle.circle && circle.polygon.empty());
    EXPECT_DOUBLE_EQ(circle.radius, 0.02);
}

TEST(PadsOnTheBoard, TheCheckAndThePageSeeTheSameCopperForEveryShapeAngleAndSide) {
    // Every shape on a pin off the origin, with len1 and len2 apart, the pin at several angles:
    // the pad the page draws is the check's copper moved with the part. At quarter turns the
    // check's box moves as a box; at any angle the centre of the pad's box moves as a point
    // (every pad shape is symmetric about its centre).
    for (int shape = PAD_ROUND; shape <= PAD_OCTAGON; ++shape)
        for (int pin_angle : {0, 30, 90, 225})
            for (int part_angle : {0, 45, 90, 180, 200, 270})
                for (unsigned side : {0u, 1u}) {
                    SCOPED_TRACE(testing::Message() << "shape " << shape << " pin " << pin_angle << " part "
                                                    << part_angle << " side " << side);
                    FootprintRecord footprint;
                    footprint.pins.push_back(
                        {"1", 0.0, 0.1, -0.05, pin_angle, {{LAYER_TOP, shape, 0.04, 0.05, 0.01, 0.008}}});
                    const Box check = copper_box(footprint);
                    const PartRecord part = placed_at(2.0, 1.0, part_angle, side);
                    const std::vector<PadOnBoard> pads = pads_on_board(part, footprint);
                    ASSERT_EQ(pads.size(), 1u);
                    EXPECT_EQ(pads[0].copper.layer, side == 0 ? LAYER_TOP : LAYER_BOTTOM);
                    const Box drawn = box_of(pads[0].copper);
                    const BoardPoint centre =
                        to_board(part, (check.min_x + check.max_x) / 2, (check.min_y + check.max_y) / 2);
                    EXPECT_NEAR((drawn.min_x + drawn.max_x) / 2, centre.x, TOL);
                    EXPECT_NEAR((drawn.min_y + drawn.max_y) / 2, centre.y, TOL);
                    if (part_angle % 90 != 0) continue;
                    const BoardPoint a = to_board(part, check.min_x, check.min_y);
                    const BoardPoint b = to_board(part, check.max_x, check.max_y);
                    expect_box(drawn, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
                }
}

TEST_F(GeometrySample, PadsOnTheBottomAreMirroredWithTheirLayersAndHoles) {
    const PartRecord bottom = placed_at(1.0, 2.0, 90, 1);
    const std::vector<PadOnBoard> pads = pads_on_board(bottom, mil);
    ASSERT_EQ(pads.size(), 5u);  // the bare hole has no copper
    // Pin 1's pad centre (110, 0) mil mirrored to -110, turned a quarter clockwise.
    expect_box(box_of(pads[0].copper), 1.0 - 10 * MIL, 2.0 + 90 * MIL, 1.0 + 10 * MIL, 2.0 + 130 * MIL);
    EXPECT_EQ(pads[0].copper.layer, LAYER_BOTTOM);
    EXPECT_EQ(pads[2].copper.layer, LAYER_TOP);
    EXPECT_EQ(pads[3].copper.layer, LAYER_INNER);
    // Still counter-clockwise after mirroring.
    double twice_area = 0.0;
    const std::vector<Point>& polygon = pads[0].copper.polygon;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point& p = polygon[i];
        const Point& q = polygon[(i + 1) % polygon.size()];
        twice_area += p.x * q.y - q.x * p.y;
    }
    EXPECT_GT(twice_area, 0.0);
    // The drilled pin's round pad: a circle with its hole at the pin.
    EXPECT_TRUE(pads[4].copper.circle);
    EXPECT_DOUBLE_EQ(pads[4].drill, 40 * MIL);
    expect_point(pads[4].hole, 1.0, 2.0);
}

TEST_F(GeometrySample, OutlineArcsBulgeTheRightWay) {
    const OutlineRecord& closed = mil.outlines[0];
    EXPECT_DOUBLE_EQ(closed.width, 10 * MIL);
    ASSERT_EQ(closed.corners.size(), 3u);
    ASSERT_TRUE(closed.closed);
    // The closing side (10,10) -> (0,0) turns clockwise around (0,10); (0,0) is not repeated.
    std::vector<Point> ring = flatten(closed.corners, closed.closed, closed.closing_style);
    ASSERT_EQ(ring.size(), 3u + 15u);
    const double r = 10 * MIL / std::sqrt(2.0);
    expect_point(ring[10], r, 10 * MIL - r);
    const double last = std::numbers::pi / 32;  // the last piece's angle from the first corner
    expect_point(ring.back(), 10 * MIL * std::sin(last), 10 * MIL - 10 * MIL * std::cos(last));

    // (0,0) -> (50,50) clockwise turns around (50,0); on the bottom side it is mirrored after
    // flattening, so the bulge stays on the mirrored side.
    const OutlineRecord& open = mil.outlines[1];
    EXPECT_FALSE(open.closed);
    std::vector<Point> arc = flatten(open.corners, false, 0);
    ASSERT_EQ(arc.size(), 17u);
    const double h = 50 * MIL / std::sqrt(2.0);
    expect_point(arc[8], 50 * MIL - h, h);
    expect_point(outline_on_board(open, placed_at(1.0, 2.0, 0, 1)).at(8), 1.0 - (50 * MIL - h), 2.0 + h);
    EXPECT_EQ(flatten({{0, 0, 0}, {0, 1, 2}}, false, 0).size(), 2u);  // ends share an x: straight
}

TEST_F(GeometrySample, BoardOutlinesCutOutAndRoundedCorner) {
    ASSERT_EQ(project.board_outlines.size(), 2u);
    ASSERT_EQ(project.board_outlines[0].size(), 2u);
    const BoardContour& outer = project.board_outlines[0][0];
    ASSERT_EQ(outer.size(), 5u);
    EXPECT_EQ(outer[3].style, SIDE_ARC_CCW);  // the arc ends at the fourth corner
    EXPECT_EQ(outer[2].style, SIDE_STRAIGHT);
    const BoardRings board = board_rings(project);
    EXPECT_TRUE(has_board_outline(board));

    EXPECT_TRUE(board_contains(board, 1.0, 1.0));
    EXPECT_FALSE(board_contains(board, 3.0, 3.0));  // in the cut-out
    EXPECT_TRUE(board_contains(board, 25.0, 5.0));  // the second outline
    EXPECT_FALSE(board_contains(board, 15.0, 5.0));
    EXPECT_FALSE(board_contains(board, -0.5, 5.0));
    // The corner (10,8)-(8,10) bulges out around (8,8) with radius 2.
    EXPECT_TRUE(board_contains(board, 9.3, 9.3));
    EXPECT_FALSE(board_contains(board, 9.5, 9.5));
}

TEST(CopperReader, OddInputReadsAsZeroOrIsIgnored) {
    // A pad before any pin has no pin; absurd numbers read as 0; corners before an outline and an
    // outline without corners give nothing; the last outline's numbers all read as 0.
    const Project odd = load_with_copper(
        "[footprints]\nname: \"X\"\nunits: MIL\nsel_rect: 0 0 0 0\nn_pins: 2\ntop_pad: 3 5 5 5\n"
        "next_corner: 1 1 0\npin: 7 1e999\n  top_pad: 3 nan inf 1e300 -1e13\npin: q 5 -inf 1e13 0\n\n"
        "[board]\ncorner: 1 0 0 0\noutline: 2000000000 0\noutline: 3\ncorner: 1 0 0 0\ncorner: 2 1e999 0\n"
        "corner: 3\ncorner:\n[parts]\n[nets]\n");
    const FootprintRecord& x = odd.footprints.records.at(0);
    ASSERT_EQ(x.pins.size(), 2u);
    EXPECT_EQ(x.pins[0].drill, 0.0);
    const PadRecord& pad = x.pins[0].pads.at(0);
    EXPECT_EQ(pad.width + pad.len1 + pad.len2 + pad.radius, 0.0);
    EXPECT_EQ(x.pins[1].name, "q");
    EXPECT_DOUBLE_EQ(x.pins[1].drill, 5 * MIL);
    EXPECT_EQ(x.pins[1].x + x.pins[1].y, 0.0);
    EXPECT_TRUE(x.outlines.empty());
    ASSERT_EQ(odd.board_outlines.size(), 1u);
    for (const OutlineCorner& corner : odd.board_outlines[0].at(0)) expect_point({corner.x, corner.y}, 0.0, 0.0);
    EXPECT_FALSE(board_contains(board_rings(odd), 0, 0));
    EXPECT_FALSE(has_board_outline(board_rings(Project{})));
}
