// The project reader with the copper kept, and the geometry on what it reads: the pads' copper
// and their boxes, pads and outline lines placed on the board, the board flattened and its point
// test. Every number that comes out must be finite, and every pad on the board must lie in the
// footprint's copper box moved there.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/fatal.h"
#include "geometry/geometry.h"
#include "project/load_project.h"

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
    PartRecord part;
    part.origin_x = 1.0;
    part.origin_y = -2.0;
    part.layout_angle = size > 0 ? (data[0] & 7) * 45 : 0;
    part.side = size > 0 ? data[0] >> 3 & 1u : 0u;
    Settings settings;
    OverrideTable overrides;
    std::ostringstream console;
    Project project;
    try {
        load_project(std::string(reinterpret_cast<const char*>(data), size),
                     LoadContext{settings, overrides, console, true}, project);
    } catch (const FatalError&) {
    }
    for (const FootprintRecord& footprint : project.footprints.records) {
        const Box copper = copper_box(footprint);
        for (const PinRecord& pin : footprint.pins)
            for (const PadRecord& pad : pin.pads)
                if (const std::optional<PadCopper> shape = pad_copper(pin, pad)) {
                    require(is_copper(pad) && std::isfinite(shape->radius) && finite(shape->centre));
                    for (Point point : shape->polygon) require(finite(point) && in_box(point, copper));
                }
        // At quarter turns the copper box moves to the board as a box.
        Box moved;
        for (const Point corner : {Point{copper.min_x, copper.min_y}, Point{copper.max_x, copper.max_y}}) {
            const BoardPoint at = to_board(part, corner.x, corner.y);
            moved.add(at.x, at.y);
        }
        for (const PadOnBoard& pad : pads_on_board(part, footprint)) {
            require(finite(pad.hole) && finite(pad.copper.centre));
            for (Point point : pad.copper.polygon) require(finite(point) && (part.layout_angle % 90 != 0 || in_box(point, moved)));
        }
        for (const OutlineRecord& line : footprint.outlines)
            for (Point point : outline_on_board(line, part)) require(finite(point));
    }
    BoardRings board = board_rings(project);
    for (const std::vector<Ring>& rings : board)
        for (const Ring& ring : rings)
            for (Point point : ring) require(finite(point));
    if (has_board_outline(board)) board_contains(board, 0.5, 0.5);
    return 0;
}
