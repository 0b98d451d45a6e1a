#pragma once
// The footprints' pads and outline lines and the board outline, read from the project file
// only when a check or the review page needs them, and the plain geometry on them.
// Lengths are inches, y points up; pin and part angles are degrees clockwise as seen from
// the top. The names live in a namespace of their own: Pin, Pad and the like are common words.
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace geometry {

enum PadLayer : int { LAYER_TOP = 0, LAYER_BOTTOM = 1, LAYER_INNER = 2 };
enum PadShape : int { PAD_NONE = 0, PAD_ROUND = 1, PAD_SQUARE = 2, PAD_RECT = 3, PAD_ROUNDED_RECT = 4,
                      PAD_OVAL = 5, PAD_OCTAGON = 6 };
enum SideStyle : int { SIDE_STRAIGHT = 0, SIDE_ARC_CW = 1, SIDE_ARC_CCW = 2 };

/// A copper pad of a pin: `width` across the pin's axis, `len1` along the axis on the side it
/// points to, `len2` on the other side, `radius` the corner radius of a rounded rectangle.
struct Pad {
    int layer = LAYER_TOP;
    int shape = PAD_NONE;
    double width = 0.0, len1 = 0.0, len2 = 0.0, radius = 0.0;
};

struct Pin {
    std::string name;
    double drill = 0.0, x = 0.0, y = 0.0;
    int angle = 0;  // direction of the axis: 0 +x, 90 -y, 180 -x, 270 +y
    std::vector<Pad> pads;
};

/// A corner and the style of the side that ends at it. In a board contour the first
/// corner's style is that of the closing side, from the last corner back to the first.
struct Corner {
    double x = 0.0, y = 0.0;
    int style = SIDE_STRAIGHT;
};

struct Polyline {
    double width = 0.0;
    std::vector<Corner> corners;
    bool closed = false;
    int closing_style = SIDE_STRAIGHT;  // the side from the last corner back to the first
};

struct FootprintGeometry {
    std::string name;
    std::vector<Pin> pins;
    std::vector<Polyline> outlines;
};

using Contour = std::vector<Corner>;  // closed; its first corner's style is the closing side's

struct Point {
    double x = 0.0, y = 0.0;
};

using Ring = std::vector<Point>;  // a flattened closed contour, its first point not repeated

/// The board outlines flattened: outline -> its rings.
using BoardRings = std::vector<std::vector<Ring>>;

struct ProjectGeometry {
    std::map<std::string, FootprintGeometry, std::less<>> footprints;  // the first block of a name
    std::vector<std::vector<Contour>> board_outlines;                  // outline -> its contours
    BoardRings board;  // the outlines flattened once, for the point tests and the drawing
};

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
};

/// A pad moved to the board: its centre, its size along (`length`) and across (`width`) its
/// axis, the axis direction in counter-clockwise degrees from +x in [0, 360), the corner
/// radius the pad is drawn with (half the smaller size for round and oval pads) and the
/// layer as seen from the top (top and bottom swapped for a part on the bottom side).
struct PadOnBoard {
    double x = 0.0, y = 0.0, width = 0.0, length = 0.0, angle_ccw_degrees = 0.0;
    int shape = PAD_NONE;
    double radius = 0.0;
    int layer = LAYER_TOP;
    double drill = 0.0;
};

constexpr int DEFAULT_ARC_SEGMENTS = 16;  // straight pieces per quarter arc or quarter circle

/// Reads the footprints' pins, pads and outline lines and the board outlines from the text of
/// a project file in one pass, and flattens the board outlines. Never throws for odd input: missing, non-finite or absurdly
/// large numbers read as 0, lines out of place are ignored.
ProjectGeometry read_project_geometry(std::string_view text);

/// The footprint of exactly this name, or nullptr.
const FootprintGeometry* find_footprint(const ProjectGeometry& project, std::string_view name);

/// True when the pad has copper: a known shape other than none, and not a round pad exactly
/// as wide as the pin's drill (a bare hole).
bool is_copper(const Pin& pin, const Pad& pad);

/// The pad's outline in footprint coordinates, rounded parts flattened; empty without copper.
std::vector<Point> pad_polygon(const Pin& pin, const Pad& pad, int arc_segments = DEFAULT_ARC_SEGMENTS);

/// The exact bounding box of the pad's copper in footprint coordinates; empty without copper.
Box pad_box(const Pin& pin, const Pad& pad);

/// The bounding box of all copper pads of the footprint on all layers; empty when it has none.
Box copper_box(const FootprintGeometry& footprint);

/// The points of a polyline with its arcs flattened; a closed one's first point is not repeated.
std::vector<Point> flatten(const std::vector<Corner>& corners, bool closed, int closing_style,
                           int arc_segments = DEFAULT_ARC_SEGMENTS);

/// Every board outline as flattened contours, made once for many point tests.
BoardRings flatten_board(const ProjectGeometry& project, int arc_segments = DEFAULT_ARC_SEGMENTS);

/// True when the board point (x, y) lies inside some board outline, not in one of its cut-outs.
bool board_contains(const BoardRings& board, double x, double y);

/// True when the board has an outline that encloses an area (a contour of three or more points).
bool has_board_outline(const BoardRings& board);

/// The pad of a part at (origin_x, origin_y), turned clockwise by `layout_angle`, on the bottom
/// when bit 0 of `side` is set, moved to the board.
PadOnBoard pad_on_board(const Pin& pin, const Pad& pad, double origin_x, double origin_y, int layout_angle,
                        unsigned side);

/// The flattened points of a footprint outline line of a part placed as for pad_on_board.
std::vector<Point> polyline_on_board(const Polyline& polyline, double origin_x, double origin_y, int layout_angle,
                                     unsigned side, int arc_segments = DEFAULT_ARC_SEGMENTS);

}  // namespace geometry
