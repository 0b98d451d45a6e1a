#pragma once
// The copper of the pads, the body outlines and the board outline as plain geometry: the one
// place where a pad's shape code becomes a shape, shared by the placement check and the review
// page. Lengths are inches, y points up; pin and part angles are degrees clockwise as seen from
// the top. The names live in a namespace of their own: Point, Box and the like are common words.
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "project/records.h"

namespace geometry {

using Point = BoardPoint;

using Ring = std::vector<Point>;  // a flattened closed contour, its first point not repeated

/// The board outlines flattened: outline -> its rings.
using BoardRings = std::vector<std::vector<Ring>>;

/// An axis-parallel box; empty while nothing has been added.
struct Box {
    double min_x = std::numeric_limits<double>::infinity(), min_y = std::numeric_limits<double>::infinity();
    double max_x = -std::numeric_limits<double>::infinity(), max_y = -std::numeric_limits<double>::infinity();
    /// True while no point has been added.
    bool empty() const { return min_x > max_x || min_y > max_y; }
    /// Grows the box to hold (x, y).
    void add(double x, double y);
    /// Grows the box to hold `other`.
    void add(const Box& other);
    /// The middle of the box.
    Point centre() const { return {(min_x + max_x) / 2, (min_y + max_y) / 2}; }
    /// The longer of its width and height.
    double longer_side() const { return std::max(max_x - min_x, max_y - min_y); }
};

/// The copper of one pad as it is drawn: a circle (round pads), or a polygon with its rounded
/// corners flattened. `layer` is the copper layer as seen from the top.
struct PadCopper {
    bool circle = false;
    Point centre;                // a circle's centre
    double radius = 0.0;         // a circle's radius
    std::vector<Point> polygon;  // counter-clockwise; empty for a circle
    int layer = LAYER_TOP;
};

/// A pad of a part on the board: its copper and the pin's drill hole (diameter 0 for none).
struct PadOnBoard {
    PadCopper copper;
    Point hole;
    double drill = 0.0;
};

constexpr int OUTLINE_ARC_SEGMENTS = 16;  // straight pieces per quarter arc of an outline
constexpr int PAD_ARC_SEGMENTS = 8;       // straight pieces per quarter of a pad's rounded corner

/// True when the pad has copper: a known shape other than none (the reader keeps a round pad
/// exactly as wide as its pin's drill, a bare hole, as none).
bool is_copper(const PadRecord& pad);

/// The pad's copper in footprint coordinates; nothing without copper.
std::optional<PadCopper> pad_copper(const PinRecord& pin, const PadRecord& pad);

/// The box of the copper: the circle's, or the polygon's points'.
Box box_of(const PadCopper& copper);

/// The box of all copper pads of the footprint on all layers; empty when it has none.
Box copper_box(const FootprintRecord& footprint);

/// Every copper pad of the part's footprint moved to the board, in pin order.
std::vector<PadOnBoard> pads_on_board(const PartRecord& part, const FootprintRecord& footprint);

/// The points of a polyline with its arcs flattened; a closed one's first point is not repeated.
std::vector<Point> flatten(const std::vector<OutlineCorner>& corners, bool closed, int closing_style);

/// The flattened points of a footprint outline line, moved to the board for the part.
std::vector<Point> outline_on_board(const OutlineRecord& outline, const PartRecord& part);

/// Every board outline of the project as flattened contours, made once for the point tests and
/// the drawing.
BoardRings board_rings(const Project& project);

/// True when the board point (x, y) lies inside some board outline, not in one of its cut-outs.
bool board_contains(const BoardRings& board, double x, double y);

/// True when the board has an outline that encloses an area (a contour of three or more points).
bool has_board_outline(const BoardRings& board);

}  // namespace geometry
