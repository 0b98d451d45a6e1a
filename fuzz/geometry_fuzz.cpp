// The geometry reader and the geometry on what it reads: pad boxes and polygons, pads and
// outline lines placed on the board, the board flattened and its point test. Every number
// that comes out must be finite, and every pad polygon must lie in its pad's box.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "geometry/geometry.h"

namespace {

using namespace geometry;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

bool finite(Point point) { return std::isfinite(point.x) && std::isfinite(point.y); }

// Inside the box, allowing for the rounding of the rotations.
bool in_box(Point point, const Box& box) {
    double slack = 1e-9 * (1.0 + std::fabs(box.min_x) + std::fabs(box.max_x) + std::fabs(box.min_y) +
                           std::fabs(box.max_y));
    return point.x >= box.min_x - slack && point.x <= box.max_x + slack && point.y >= box.min_y - slack &&
           point.y <= box.max_y + slack;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks the placement the pads and outlines are moved to.
    const int angle = size > 0 ? (data[0] & 7) * 45 : 0;
    const unsigned side = size > 0 ? data[0] >> 3 & 1u : 0u;
    ProjectGeometry project = read_project_geometry(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& [name, footprint] : project.footprints) {
        Box copper = copper_box(footprint);
        for (const Pin& pin : footprint.pins)
            for (const Pad& pad : pin.pads) {
                Box box = pad_box(pin, pad);
                require(box.empty() == !is_copper(pin, pad));
                for (Point point : pad_polygon(pin, pad, 4))
                    require(finite(point) && in_box(point, box) && in_box(point, copper));
                PadOnBoard placed = pad_on_board(pin, pad, 1.0, -2.0, angle, side);
                require(finite({placed.x, placed.y}) && std::isfinite(placed.width) && std::isfinite(placed.length) &&
                        placed.angle_ccw_degrees >= 0.0 && placed.angle_ccw_degrees < 360.0);
            }
        for (const Polyline& line : footprint.outlines)
            for (Point point : polyline_on_board(line, 1.0, -2.0, angle, side, 4)) require(finite(point));
    }
    BoardRings board = flatten_board(project, 4);
    for (const std::vector<Ring>& rings : board)
        for (const Ring& ring : rings)
            for (Point point : ring) require(finite(point));
    if (has_board_outline(board)) board_contains(board, 0.5, 0.5);
    return 0;
}
