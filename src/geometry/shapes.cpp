#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "geometry/geometry.h"

namespace geometry {
namespace {

constexpr double HALF_PI = std::numbers::pi / 2.0;

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

PadFrame frame_of(const PinRecord& pin, const PadRecord& pad) {
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

// A rounded rectangle's outline, counter-clockwise; its arcs' ends are exact, so that its box
// is the exact box at every quarter turn.
std::vector<Point> rounded_rectangle(const PadFrame& frame, int segments_per_arc) {
    const int segments = frame.radius > 0.0 ? segments_per_arc : 0;
    const double along = frame.half_length - frame.radius, across = frame.half_width - frame.radius;
    // Each corner's arc runs counter-clockwise in the pad's own frame from the direction `start`
    // a quarter turn on.
    const double starts[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    std::vector<Point> points;
    for (const auto& start : starts) {
        const double inner_u = start[0] - start[1] > 0 ? along : -along;  // the inner corner's quadrant
        const double inner_v = start[0] + start[1] > 0 ? across : -across;
        for (int k = 0; k <= segments; ++k) {
            const bool last = k == segments;
            const double c = last ? 0.0 : std::cos(HALF_PI * k / segments);
            const double s = last ? 1.0 : std::sin(HALF_PI * k / segments);
            const Point point = frame.at(inner_u + frame.radius * (c * start[0] - s * start[1]),
                                         inner_v + frame.radius * (c * start[1] + s * start[0]));
            if (points.empty() || point.x != points.back().x || point.y != points.back().y) points.push_back(point);
        }
    }
    if (points.size() > 1 && points.back().x == points.front().x && points.back().y == points.front().y)
        points.pop_back();
    return points;
}

std::vector<Point> octagon_corners(const PadFrame& frame) {
    double near = frame.half_width * std::tan(std::numbers::pi / 8.0);
    double far = frame.half_width;
    return {frame.at(far, -near), frame.at(far, near),   frame.at(near, far),  frame.at(-near, far),
            frame.at(-far, near), frame.at(-far, -near), frame.at(-near, -far), frame.at(near, -far)};
}

// Adds the side from `from` (already in `points`) to `to`, a quarter ellipse for an arc style.
void add_side(std::vector<Point>& points, Point from, Point to, int style) {
    const int segments = OUTLINE_ARC_SEGMENTS;
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

bool is_copper(const PadRecord& pad) { return pad.shape >= PAD_ROUND && pad.shape <= PAD_OCTAGON; }

std::optional<PadCopper> pad_copper(const PinRecord& pin, const PadRecord& pad) {
    if (!is_copper(pad)) return std::nullopt;
    const PadFrame frame = frame_of(pin, pad);
    PadCopper copper;
    copper.layer = pad.layer;
    if (pad.shape == PAD_ROUND) {
        copper.circle = true;
        copper.centre = frame.centre;
        copper.radius = frame.half_width;
    } else if (frame.octagon) {
        copper.polygon = octagon_corners(frame);
    } else {
        copper.polygon = rounded_rectangle(frame, PAD_ARC_SEGMENTS);
    }
    return copper;
}

Box box_of(const PadCopper& copper) {
    Box box;
    if (copper.circle) {
        box.add(copper.centre.x - copper.radius, copper.centre.y - copper.radius);
        box.add(copper.centre.x + copper.radius, copper.centre.y + copper.radius);
    }
    for (const Point& point : copper.polygon) box.add(point.x, point.y);
    return box;
}

Box copper_box(const FootprintRecord& footprint) {
    Box box;
    for (const PinRecord& pin : footprint.pins)
        for (const PadRecord& pad : pin.pads)
            if (const std::optional<PadCopper> copper = pad_copper(pin, pad)) box.add(box_of(*copper));
    return box;
}

std::vector<PadOnBoard> pads_on_board(const PartRecord& part, const FootprintRecord& footprint) {
    const bool mirrored = is_mirrored(part.side);
    auto moved = [&part](Point point) { return to_board(part, point.x, point.y); };
    std::vector<PadOnBoard> pads;
    for (const PinRecord& pin : footprint.pins) {
        for (const PadRecord& pad : pin.pads) {
            std::optional<PadCopper> copper = pad_copper(pin, pad);
            if (!copper) continue;
            copper->centre = moved(copper->centre);
            for (Point& point : copper->polygon) point = moved(point);
            // Mirroring turns the polygon's sense around; seen from the top the layers swap.
            if (mirrored) {
                std::reverse(copper->polygon.begin(), copper->polygon.end());
                if (copper->layer != LAYER_INNER) copper->layer = copper->layer == LAYER_TOP ? LAYER_BOTTOM : LAYER_TOP;
            }
            pads.push_back({std::move(*copper), moved({pin.x, pin.y}), pin.drill});
        }
    }
    return pads;
}

std::vector<Point> flatten(const std::vector<OutlineCorner>& corners, bool closed, int closing_style) {
    std::vector<Point> points;
    if (corners.empty()) return points;
    points.push_back({corners[0].x, corners[0].y});
    for (size_t i = 1; i < corners.size(); ++i)
        add_side(points, {corners[i - 1].x, corners[i - 1].y}, {corners[i].x, corners[i].y}, corners[i].style);
    if (closed && corners.size() > 1) {
        add_side(points, {corners.back().x, corners.back().y}, points.front(), closing_style);
        points.pop_back();  // the first point again
    }
    return points;
}

BoardRings board_rings(const Project& project) {
    BoardRings outlines;
    for (const std::vector<BoardContour>& outline : project.board_outlines) {
        std::vector<Ring>& rings = outlines.emplace_back();
        for (const BoardContour& contour : outline)
            rings.push_back(flatten(contour, true, contour.empty() ? 0 : contour[0].style));
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

std::vector<Point> outline_on_board(const OutlineRecord& outline, const PartRecord& part) {
    // Flattened before moving: mirroring would turn the arcs' sense around.
    std::vector<Point> points = flatten(outline.corners, outline.closed, outline.closing_style);
    for (Point& point : points) point = to_board(part, point.x, point.y);
    return points;
}

}  // namespace geometry
