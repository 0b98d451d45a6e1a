#include "geometry/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

using namespace geometry;

namespace {

constexpr double MIL = 0.001;
constexpr double TOL = 1e-12;

// Pins at the four angles with pads 20 wide, 30 along the axis and 10 against it; a bare hole
// and a round pad; a closed outline and an open one with an arc; then nanometre footprints.
const char* const PROJECT = R"([project]
project_name: "T"
[footprints]
name: "MILPART"
 units: MIL
	pin: "1" 0 100 0 0 ""
	  top_pad: 3 20 30 10 0
	pin: 2 0 0 100 90
	  top_pad: 3 20 30 10 0
	pin: 3 0 -100 0 180
	  bottom_pad: 3 20 30 10 0
	pin: 4 0 0 -100 270
	  inner_pad: 3 20 30 10 0
	pin: 5 40 0 0 0
	  top_pad: 1 40 0 0 0
	  bottom_pad: 1 60 0 0 0
	  top_mask: 1 300 0 0 0
	outline_polyline: 10 0 0 1 0 4
	next_corner: 10 0 0
	next_corner: 10 10 0
	close_polyline: 1
	outline_polyline: 5 0 0
	next_corner: 50 50 1
	n_pins: 5
name: "NMPART"
units: NM
pin: "A 1" 254000 2540000 0 0 ""
  top_pad: 4 1270000 1270000 1270000 254000
  bottom_pad: 5 1270000 2540000 0 0
name: "NEXT"
pin: 1 0 25400000 0 0
  top_pad: 2 254000 9999 9999 0
name: "MILPART"
pin: 9 0 0 0 0
[board]

outline: 5 0
  corner: 1 0 0 0
  corner: 2 254000000 0 0
  corner: 3 254000000 203200000 2
  corner: 4 203200000 254000000 0
  corner: 5 0 254000000 0 1
  corner: 6 50800000 50800000 0
  corner: 7 101600000 50800000 0
  corner: 8 101600000 101600000 0
  corner: 9 50800000 101600000 0 1
outline: 4 0
  corner: 1 508000000 0 0
  corner: 2 762000000 0 0
  corner: 3 762000000 254000000 0
  corner: 4 508000000 254000000 0
[parts]
)";

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

const FootprintGeometry& footprint(const ProjectGeometry& project, const char* name) {
    static const FootprintGeometry none;
    const FootprintGeometry* found = find_footprint(project, name);
    EXPECT_NE(found, nullptr) << name;
    return found ? *found : none;
}

struct GeometrySample : ::testing::Test {
    ProjectGeometry project = read_project_geometry(PROJECT);
    const FootprintGeometry& mil = footprint(project, "MILPART");
    const Pin& nm_pin = footprint(project, "NMPART").pins.at(0);
};

}  // namespace

TEST_F(GeometrySample, PinsPadsUnitsAndFirstBlockOfAName) {
    EXPECT_EQ(project.footprints.size(), 3u);
    EXPECT_EQ(find_footprint(project, "milpart"), nullptr);
    ASSERT_EQ(mil.pins.size(), 5u);  // the second "MILPART" block is not merged in
    EXPECT_EQ(mil.pins[0].name + mil.pins[1].name, "12");
    EXPECT_DOUBLE_EQ(mil.pins[2].x, -100 * MIL);
    EXPECT_EQ(mil.pins[3].angle, 270);
    EXPECT_EQ(mil.pins[2].pads.at(0).layer, LAYER_BOTTOM);
    EXPECT_EQ(mil.pins[3].pads.at(0).layer, LAYER_INNER);
    EXPECT_EQ(mil.pins[4].pads.size(), 2u);  // the mask line is not copper
    EXPECT_EQ(nm_pin.name, "A 1");
    EXPECT_DOUBLE_EQ(nm_pin.drill, 0.01);
    EXPECT_DOUBLE_EQ(nm_pin.pads.at(0).radius, 0.01);
    // Without a units line of its own, the next footprint stays in nanometres.
    EXPECT_DOUBLE_EQ(footprint(project, "NEXT").pins.at(0).x, 1.0);
}

TEST_F(GeometrySample, PadBoxesAtAllFourAnglesFollowLen1AndLen2) {
    auto box = [&](size_t pin) { return pad_box(mil.pins.at(pin), mil.pins.at(pin).pads.at(0)); };
    expect_box(box(0), 90 * MIL, -10 * MIL, 130 * MIL, 10 * MIL);    // 0: len1 toward +x
    expect_box(box(1), -10 * MIL, 70 * MIL, 10 * MIL, 110 * MIL);    // 90: len1 toward -y
    expect_box(box(2), -130 * MIL, -10 * MIL, -90 * MIL, 10 * MIL);  // 180: len1 toward -x
    expect_box(box(3), -10 * MIL, -110 * MIL, 10 * MIL, -70 * MIL);  // 270: len1 toward +y
    // The round pad as wide as the drill is a bare hole; the wider one on the bottom counts.
    const Pin& hole = mil.pins.at(4);
    EXPECT_FALSE(is_copper(hole, hole.pads[0]));
    EXPECT_TRUE(pad_box(hole, hole.pads[0]).empty());
    EXPECT_TRUE(pad_polygon(hole, hole.pads[0]).empty());
    expect_box(pad_box(hole, hole.pads[1]), -30 * MIL, -30 * MIL, 30 * MIL, 30 * MIL);
    expect_box(copper_box(mil), -130 * MIL, -110 * MIL, 130 * MIL, 110 * MIL);
    EXPECT_TRUE(copper_box(FootprintGeometry{}).empty());
    // A square pad is as long as wide whatever its lengths; turned 45 degrees its box grows.
    const Pin& square = footprint(project, "NEXT").pins.at(0);
    expect_box(pad_box(square, square.pads[0]), 0.995, -0.005, 1.005, 0.005);
    Pin turned{"t", 0.0, 0.0, 0.0, 45, {{LAYER_TOP, PAD_SQUARE, 0.02, 0.0, 0.0, 0.0}}};
    double half_diagonal = 0.01 * std::sqrt(2.0);
    expect_box(pad_box(turned, turned.pads[0]), -half_diagonal, -half_diagonal, half_diagonal, half_diagonal);
}

TEST_F(GeometrySample, PadPolygonsKeepTheirRadiusAndFillTheirBoxes) {
    // Rounded rectangle 0.05 x 0.1 centred on the pin; oval 0.05 x 0.1 pushed to +x. Their
    // points lie at the radius from the rectangle that the corners' centres span.
    expect_box(pad_box(nm_pin, nm_pin.pads[0]), 0.05, -0.025, 0.15, 0.025);
    expect_box(pad_box(nm_pin, nm_pin.pads[1]), 0.1, -0.025, 0.2, 0.025);
    auto expect_rounded = [](const std::vector<Point>& outline, Box inner, double radius) {
        EXPECT_GT(outline.size(), 8u);
        for (const Point& point : outline) {
            double dx = std::max({inner.min_x - point.x, 0.0, point.x - inner.max_x});
            double dy = std::max({inner.min_y - point.y, 0.0, point.y - inner.max_y});
            EXPECT_NEAR(std::hypot(dx, dy), radius, TOL);
        }
    };
    expect_rounded(pad_polygon(nm_pin, nm_pin.pads[0]), Box{0.06, -0.015, 0.14, 0.015}, 0.01);
    expect_rounded(pad_polygon(nm_pin, nm_pin.pads[1]), Box{0.125, 0.0, 0.175, 0.0}, 0.025);
    EXPECT_DOUBLE_EQ(pad_on_board(nm_pin, nm_pin.pads[1], 0, 0, 0, 0).radius, 0.025);
    Pin turned{"t", 0.0, 0.0, 0.0, 45, {{LAYER_TOP, PAD_OCTAGON, 0.02}, {LAYER_TOP, PAD_ROUND, 0.04}}};
    EXPECT_EQ(pad_polygon(turned, turned.pads[0]).size(), 8u);
    std::vector<Point> circle = pad_polygon(turned, turned.pads[1]);
    EXPECT_EQ(circle.size(), 64u);  // 16 pieces per quarter, no point twice
    for (const Point& point : circle) EXPECT_NEAR(std::hypot(point.x, point.y), 0.02, TOL);

    std::vector<Pin> pins = mil.pins;
    pins.push_back(nm_pin);
    pins.push_back(turned);
    for (const Pin& pin : pins)
        for (const Pad& pad : pin.pads) {
            Box from_points;
            for (const Point& point : pad_polygon(pin, pad)) from_points.add(point.x, point.y);
            Box exact = pad_box(pin, pad);
            if (exact.empty()) EXPECT_TRUE(from_points.empty());
            else expect_box(from_points, exact.min_x, exact.min_y, exact.max_x, exact.max_y);
        }
}

TEST_F(GeometrySample, OutlineArcsBulgeTheRightWay) {
    ASSERT_EQ(mil.outlines.size(), 2u);
    const Polyline& closed = mil.outlines[0];
    EXPECT_DOUBLE_EQ(closed.width, 10 * MIL);
    ASSERT_EQ(closed.corners.size(), 3u);
    ASSERT_TRUE(closed.closed);
    // The closing side (10,10) -> (0,0) turns clockwise around (0,10); (0,0) is not repeated.
    std::vector<Point> ring = flatten(closed.corners, closed.closed, closed.closing_style);
    ASSERT_EQ(ring.size(), 3u + 15u);
    double r = 10 * MIL / std::sqrt(2.0);
    expect_point(ring[10], r, 10 * MIL - r);
    double last = std::numbers::pi / 32;  // the last piece's angle from the first corner
    expect_point(ring.back(), 10 * MIL * std::sin(last), 10 * MIL - 10 * MIL * std::cos(last));

    // (0,0) -> (50,50) clockwise turns around (50,0); on the bottom side it is mirrored after
    // flattening, so the bulge stays on the mirrored side.
    const Polyline& open = mil.outlines[1];
    EXPECT_FALSE(open.closed);
    std::vector<Point> arc = flatten(open.corners, false, 0);
    ASSERT_EQ(arc.size(), 17u);
    double h = 50 * MIL / std::sqrt(2.0);
    expect_point(arc[8], 50 * MIL - h, h);
    expect_point(polyline_on_board(open, 1.0, 2.0, 0, 1).at(8), 1.0 - (50 * MIL - h), 2.0 + h);
    EXPECT_EQ(flatten({{0, 0, 0}, {0, 1, 2}}, false, 0).size(), 2u);  // ends share an x: straight
}

TEST_F(GeometrySample, BoardOutlinesCutOutAndRoundedCorner) {
    ASSERT_EQ(project.board_outlines.size(), 2u);
    ASSERT_EQ(project.board_outlines[0].size(), 2u);
    const Contour& outer = project.board_outlines[0][0];
    ASSERT_EQ(outer.size(), 5u);
    EXPECT_EQ(outer[3].style, SIDE_ARC_CCW);  // the arc ends at the fourth corner
    EXPECT_EQ(outer[2].style, SIDE_STRAIGHT);
    const BoardRings board = flatten_board(project);
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

TEST_F(GeometrySample, PadsOnTheBoardAtQuarterTurnsAndOnTheBottom) {
    const Pin& pin = mil.pins.at(0);  // pad centre (110, 0) mil, axis +x, 40 long, 20 wide
    PadOnBoard turned = pad_on_board(pin, pin.pads.at(0), 1.0, 2.0, 90, 0);
    expect_point({turned.x, turned.y}, 1.0, 2.0 - 110 * MIL);
    EXPECT_DOUBLE_EQ(turned.angle_ccw_degrees, 270.0);
    EXPECT_DOUBLE_EQ(turned.length, 40 * MIL);
    EXPECT_DOUBLE_EQ(turned.width, 20 * MIL);
    EXPECT_EQ(turned.layer, LAYER_TOP);
    PadOnBoard bottom = pad_on_board(pin, pin.pads[0], 1.0, 2.0, 0, 1);
    expect_point({bottom.x, bottom.y}, 1.0 - 110 * MIL, 2.0);
    EXPECT_DOUBLE_EQ(bottom.angle_ccw_degrees, 180.0);
    EXPECT_EQ(bottom.layer, LAYER_BOTTOM);
    PadOnBoard bottom_90 = pad_on_board(pin, pin.pads[0], 1.0, 2.0, 90, 1);
    expect_point({bottom_90.x, bottom_90.y}, 1.0, 2.0 + 110 * MIL);
    EXPECT_DOUBLE_EQ(bottom_90.angle_ccw_degrees, 90.0);
    EXPECT_EQ(pad_on_board(mil.pins[2], mil.pins[2].pads[0], 0, 0, 0, 1).layer, LAYER_TOP);
    EXPECT_EQ(pad_on_board(mil.pins[3], mil.pins[3].pads[0], 0, 0, 0, 1).layer, LAYER_INNER);

    // For every rectangular pad and placement, the moved polygon fills the box that the
    // board pad's centre, sizes and axis give.
    for (const Pin& each : std::vector<Pin>(mil.pins.begin(), mil.pins.begin() + 4))
        for (int angle : {0, 90, 180, 270})
            for (unsigned side : {0u, 1u}) {
                PadOnBoard placed = pad_on_board(each, each.pads[0], 3.0, -1.0, angle, side);
                Polyline polygon;
                for (const Point& point : pad_polygon(each, each.pads[0]))
                    polygon.corners.push_back({point.x, point.y});
                Box moved;
                for (const Point& point : polyline_on_board(polygon, 3.0, -1.0, angle, side))
                    moved.add(point.x, point.y);
                bool along_x = std::fmod(placed.angle_ccw_degrees, 180.0) == 0.0;
                double half_x = (along_x ? placed.length : placed.width) / 2;
                double half_y = (along_x ? placed.width : placed.length) / 2;
                expect_box(moved, placed.x - half_x, placed.y - half_y, placed.x + half_x, placed.y + half_y);
            }
}

TEST(GeometryReader, OddInputReadsAsZeroOrIsIgnored) {
    ProjectGeometry empty = read_project_geometry("");
    EXPECT_TRUE(empty.footprints.empty());
    EXPECT_FALSE(has_board_outline(flatten_board(empty)));
    EXPECT_FALSE(board_contains(flatten_board(empty), 0, 0));

    ProjectGeometry odd = read_project_geometry(
        "[footprints]\ntop_pad: 3 1 1 1\nnext_corner: 1 1 0\nname: \"X\"\ntop_pad: 3 5 5 5\n"
        "pin: 7 25400000\ntop_pad: 3\npin: \"q 1e999 nan -inf 5 abc\nnext_corner: 5 5 0\n"
        "name: \"unclosed\n[board]\ncorner: 1 0 0 0\noutline: 2000000000 0\n"
        "outline: 3\ncorner: 1 0 0 0\ncorner: 2 1e999 0\ncorner: 3\ncorner:\n");
    const FootprintGeometry& x = footprint(odd, "X");
    ASSERT_EQ(x.pins.size(), 2u);
    EXPECT_EQ(x.pins[0].name, "7");
    EXPECT_DOUBLE_EQ(x.pins[0].drill, 1.0);  // nanometres before any units line
    EXPECT_EQ(x.pins[0].x, 0.0);
    EXPECT_EQ(x.pins[0].pads.at(0).width, 0.0);
    EXPECT_EQ(x.pins[1].name, "q 1e999 nan -inf 5 abc");
    EXPECT_TRUE(x.outlines.empty());
    EXPECT_NE(find_footprint(odd, "unclosed"), nullptr);
    // The early corner and the outline without corners give nothing; all numbers of the
    // last outline read as 0, so it encloses nothing.
    ASSERT_EQ(odd.board_outlines.size(), 1u);
    for (const Corner& corner : odd.board_outlines[0].at(0)) expect_point({corner.x, corner.y}, 0.0, 0.0);
    EXPECT_FALSE(board_contains(flatten_board(odd), 0, 0));

    ProjectGeometry numbers = read_project_geometry(
        "[footprints]\nname: \"N\"\nunits: MIL\npin: 1 1e999 inf nan 1e999\npin: 2 +3 -4 0x10 9999999999\n");
    const FootprintGeometry& n = footprint(numbers, "N");
    EXPECT_EQ(n.pins.at(0).drill + n.pins[0].x + n.pins[0].y + n.pins[0].angle, 0.0);
    EXPECT_DOUBLE_EQ(n.pins.at(1).drill, 3 * MIL);
    EXPECT_DOUBLE_EQ(n.pins[1].x, -4 * MIL);
    EXPECT_EQ(n.pins[1].angle, 0);
}
