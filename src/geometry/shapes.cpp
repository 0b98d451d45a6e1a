#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/geometry.h"
#include "project/parts.h"

namespace geometry {
namespace {

constexpr double HALF_PI = std::numbers::pi / 2.0;
constexpr int MAX_ARC_SEGMENTS = 1024;

int segments_or_default(int arc_segments) {
    return arc_segments < 1 ? DEFAULT_ARC_SEGMENTS : std::min(arc_segments, MAX_ARC_SEGMENTS);
}

// The unit vector a clockwise angle points to, exact at the quarter turns.
Point axis_of(int angle) {
    switch ((angle % 360 + 360) % 360) {
        case 0: return {1.0, 0.0};
        case 90: return {0.0, -1.0};
        case 180: return {-1.0, 0.0};
        case 270: return {0.0, 1.0};
        default: break;
    }
    double radians = (angle % 360) * std::numbers::pi / 180.0;
    return {std::cos(radians), -std::sin(radians)};
}

// A pad as a rectangle of half sizes along and across its axis with rounded corners of
// `radius` (no larger than either half size), or a regular octagon of that width.
struct PadFrame {
    Point centre, axis;
    double half_length = 0.0, half_width = 0.0, radius = 0.0;
    bool octagon = false;

    Point at(double along, double across) const {
        return {centre.x + along * axis.x - across * axis.y, centre.y + along * axis.y + across * axis.x};
    }
};

PadFrame frame_of(const Pin& pin, const Pad& pad) {
    PadFrame frame;
    frame.axis = axis_of(pin.angle);
    frame.centre = {pin.x, pin.y};
    frame.half_width = std::max(pad.width, 0.0) / 2.0;
    if (pad.shape == PAD_ROUND || pad.shape == PAD_SQUARE || pad.shape == PAD_OCTAGON) {
        // These are as wide as long, centred on the pin, whatever their lengths say.
        frame.half_length = frame.half_width;
        frame.radius = pad.shape == PAD_ROUND ? frame.half_width : 0.0;
        frame.octagon = pad.shape == PAD_OCTAGON;
        return frame;
    }
    frame.half_length = std::max(pad.len1 + pad.len2, 0.0) / 2.0;
    double offset = (pad.len1 - pad.len2) / 2.0;
    frame.centre = {pin.x + offset * frame.axis.x, pin.y + offset * frame.axis.y};
    double smaller = std::min(frame.half_length, frame.half_width);
    if (pad.shape == PAD_OVAL) frame.radius = smaller;
    if (pad.shape == PAD_ROUNDED_RECT) frame.radius = std::clamp(pad.radius, 0.0, smaller);
    return frame;
}

std::vector<Point> octagon_corners(const PadFrame& frame) {
    double near = frame.half_width * std::tan(std::numbers::pi / 8.0);
    double far = frame.half_width;
    return {frame.at(far, -near), frame.at(far, near),   frame.at(near, far),  frame.at(-near, far),
            frame.at(-far, near), frame.at(-far, -near), frame.at(-near, -far), frame.at(near, -far)};
}

// Adds the side from `from` (already in `points`) to `to`, a quarter ellipse for an arc style.
void add_side(std::vector<Point>& points, Point from, Point to, int style, int segments) {
    if ((style == SIDE_ARC_CW || style == SIDE_ARC_CCW) && from.x != to.x && from.y != to.y) {
        // Of the two candidate centres, (from.x, to.y) turns counter-clockwise from `from`
        // to `to` exactly when this cross product is positive.
        bool first_is_ccw = (to.y - from.y) * (to.x - from.x) > 0.0;
        Point centre = first_is_ccw == (style == SIDE_ARC_CCW) ? Point{from.x, to.y} : Point{to.x, from.y};
        Point u{from.x - centre.x, from.y - centre.y}, v{to.x - centre.x, to.y - centre.y};
        for (int k = 1; k < segments; ++k) {
            double t = HALF_PI * k / segments;
            points.push_back({centre.x + u.x * std::cos(t) + v.x * std::sin(t),
                              centre.y + u.y * std::cos(t) + v.y * std::sin(t)});
        }
    }
    points.push_back(to);
}

}  // namespace

void Box::add(double x, double y) {
    min_x = std::min(min_x, x);
    min_y = std::min(min_y, y);
    max_x = std::max(max_x, x);
    max_y = std::max(max_y, y);
}

void Box::add(const Box& other) {
    if (other.empty()) return;
    add(other.min_x, other.min_y);
    add(other.max_x, other.max_y);
}

bool is_copper(const Pin& pin, const Pad& pad) {
    if (pad.shape < PAD_ROUND || pad.shape > PAD_OCTAGON) return false;
    return !(pad.shape == PAD_ROUND && pad.width == pin.drill);
}

std::vector<Point> pad_polygon(const Pin& pin, const Pad& pad, int arc_segments) {
    if (!is_copper(pin, pad)) return {};
    PadFrame frame = frame_of(pin, pad);
    if (frame.octagon) return octagon_corners(frame);
    int segments = frame.radius > 0.0 ? segments_or_default(arc_segments) : 0;
    double along = frame.half_length - frame.radius, across = frame.half_width - frame.radius;
    // Each corner's arc runs counter-clockwise in the pad's own frame, from the direction
    // `start` a quarter turn on; its ends are exact so that neighbouring arcs meet.
    const double starts[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    std::vector<Point> points;
    for (const auto& start : starts) {
        double inner_u = start[0] - start[1] > 0 ? along : -along;  // the inner corner's quadrant
        double inner_v = start[0] + start[1] > 0 ? across : -across;
        for (int k = 0; k <= segments; ++k) {
            bool last = k == segments;
            double c = last ? 0.0 : std::cos(HALF_PI * k / segments), s = last ? 1.0 : std::sin(HALF_PI * k / segments);
            Point point = frame.at(inner_u + frame.radius * (c * start[0] - s * start[1]),
                                   inner_v + frame.radius * (c * start[1] + s * start[0]));
            if (points.empty() || point.x != points.back().x || point.y != points.back().y)
                points.push_back(point);
        }
    }
    if (points.size() > 1 && points.back().x == points.front().x && points.back().y == points.front().y)
        points.pop_back();
    return points;
}

Box pad_box(const Pin& pin, const Pad& pad) {
    Box box;
    if (!is_copper(pin, pad)) return box;
    PadFrame frame = frame_of(pin, pad);
    if (frame.octagon) {
        for (Point corner : octagon_corners(frame)) box.add(corner.x, corner.y);
        return box;
    }
    // A rounded rectangle's box is that of its inner corners' rectangle grown by the radius.
    double along = frame.half_length - frame.radius, across = frame.half_width - frame.radius;
    for (double u : {-along, along})
        for (double v : {-across, across}) {
            Point corner = frame.at(u, v);
            box.add(corner.x - frame.radius, corner.y - frame.radius);
            box.add(corner.x + frame.radius, corner.y + frame.radius);
        }
    return box;
}

Box copper_box(const FootprintGeometry& footprint) {
    Box box;
    for (const Pin& pin : footprint.pins)
        for (const Pad& pad : pin.pads) box.add(pad_box(pin, pad));
    return box;
}

std::vector<Point> flatten(const std::vector<Corner>& corners, bool closed, int closing_style, int arc_segments) {
    std::vector<Point> points;
    if (corners.empty()) return points;
    int segments = segments_or_default(arc_segments);
    points.push_back({corners[0].x, corners[0].y});
    for (size_t i = 1; i < corners.size(); ++i)
        add_side(points, {corners[i - 1].x, corners[i - 1].y}, {corners[i].x, corners[i].y}, corners[i].style,
                 segments);
    if (closed && corners.size() > 1) {
        add_side(points, {corners.back().x, corners.back().y}, points.front(), closing_style, segments);
        points.pop_back();  // the first point again
    }
    return points;
}

BoardRings flatten_board(const ProjectGeometry& project, int arc_segments) {
    BoardRings outlines;
    for (const std::vector<Contour>& outline : project.board_outlines) {
        std::vector<Ring>& rings = outlines.emplace_back();
        for (const Contour& contour : outline)
            rings.push_back(flatten(contour, true, contour.empty() ? 0 : contour[0].style, arc_segments));
    }
    return outlines;
}

namespace {

// True when (x, y) lies inside an odd number of the rings (so a cut-out's point is outside).
bool rings_contain(const std::vector<Ring>& rings, double x, double y) {
    bool inside = false;
    for (const Ring& ring : rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point& a = ring[i];
            const Point& b = ring[j];
            if ((a.y > y) != (b.y > y) && x < b.x + (y - b.y) * (a.x - b.x) / (a.y - b.y)) inside = !inside;
        }
    }
    return inside;
}

}  // namespace

bool board_contains(const BoardRings& board, double x, double y) {
    for (const std::vector<Ring>& rings : board)
        if (rings_contain(rings, x, y)) return true;
    return false;
}

bool has_board_outline(const BoardRings& board) {
    for (const std::vector<Ring>& rings : board)
        for (const Ring& ring : rings)
            if (ring.size() >= 3) return true;
    return false;
}

PadOnBoard pad_on_board(const Pin& pin, const Pad& pad, double origin_x, double origin_y, int layout_angle,
                        unsigned side) {
    PadFrame frame = frame_of(pin, pad);
    BoardPoint centre = footprint_to_board(origin_x, origin_y, layout_angle, side, frame.centre.x, frame.centre.y);
    BoardPoint axis = footprint_to_board(0.0, 0.0, layout_angle, side, frame.axis.x, frame.axis.y);
    double degrees = std::atan2(axis.y, axis.x) * 180.0 / std::numbers::pi + 0.0;  // + 0.0: no -0
    if (degrees < 0.0) degrees += 360.0;
    if (degrees >= 360.0) degrees = 0.0;
    PadOnBoard placed;
    placed.x = centre.x;
    placed.y = centre.y;
    placed.width = 2.0 * frame.half_width;
    placed.length = 2.0 * frame.half_length;
    placed.angle_ccw_degrees = degrees;
    placed.shape = pad.shape;
    placed.radius = frame.radius;
    placed.layer = (side & 1u) == 0 || pad.layer == LAYER_INNER ? pad.layer
                   : pad.layer == LAYER_TOP                     ? LAYER_BOTTOM
                                                                : LAYER_TOP;
    placed.drill = pin.drill;
    return placed;
}

std::vector<Point> polyline_on_board(const Polyline& polyline, double origin_x, double origin_y, int layout_angle,
                                     unsigned side, int arc_segments) {
    // Flattened before moving: mirroring would turn the arcs' sense around.
    std::vector<Point> points = flatten(polyline.corners, polyline.closed, polyline.closing_style, arc_segments);
    for (Point& point : points) {
        BoardPoint moved = footprint_to_board(origin_x, origin_y, layout_angle, side, point.x, point.y);
        point = {moved.x, moved.y};
    }
    return points;
}

}  // namespace geometry
