#pragma once
// The records the program learns from the layout project file, and the tables that hold
// them. Lengths are inches, angles whole degrees.
#include <string>
#include <string_view>
#include <vector>

#include "common/first_by_name.h"
#include "common/glue_spots.h"

enum TechClass : int { TECH_SMD = 0, TECH_THRU_HOLE = 1, TECH_MIXED = 2, TECH_NULL = 3 };

/// "SMD", "Thru-Hole", "Mixed" or "Null" (any other value).
const char* technology_name(int technology);

/// Pad shape codes of the copper pad lines.
enum PadShape : int { PAD_NONE = 0, PAD_ROUND = 1, PAD_SQUARE = 2, PAD_RECT = 3, PAD_ROUNDED_RECT = 4,
                      PAD_OVAL = 5, PAD_OCTAGON = 6 };
/// The copper layer of a pad line.
enum PadLayer : int { LAYER_TOP = 0, LAYER_BOTTOM = 1, LAYER_INNER = 2 };
/// The side that ends at a corner of an outline: a straight line or a quarter arc.
enum SideStyle : int { SIDE_STRAIGHT = 0, SIDE_ARC_CW = 1, SIDE_ARC_CCW = 2 };

/// A copper pad line of a pin: `width` across the pin's axis, `len1` along the axis on the side
/// it points to, `len2` on the other side, `radius` the corner radius of a rounded rectangle.
struct PadRecord {
    int layer = LAYER_TOP;
    int shape = PAD_NONE;
    double width = 0.0, len1 = 0.0, len2 = 0.0, radius = 0.0;
};

/// A "pin: " line with the copper pad lines that follow it; the angle is the direction of the
/// pin's axis, clockwise from +x.
struct PinRecord {
    std::string name;
    double drill = 0.0, x = 0.0, y = 0.0;
    int angle = 0;
    std::vector<PadRecord> pads;
};

/// A corner of an outline and the style of the side that ends at it. In a closed contour the
/// first corner's style is that of the closing side, from the last corner back to the first.
struct OutlineCorner {
    double x = 0.0, y = 0.0;
    int style = SIDE_STRAIGHT;
};

/// A body outline line of a footprint.
struct OutlineRecord {
    double width = 0.0;
    std::vector<OutlineCorner> corners;
    bool closed = false;
    int closing_style = SIDE_STRAIGHT;  // the side from the last corner back to the first
};

/// A closed contour of the board outline; its first corner's style is the closing side's.
using BoardContour = std::vector<OutlineCorner>;

struct FootprintRecord {
    std::string name;
    std::string author;
    std::string source;
    std::string description;
    int technology = TECH_SMD;
    int excluded = 0;
    int pad_flags = 0;
    int pin_count = 0;   // as its "n_pins:" line says
    int found_pins = 0;  // "pin: " lines the pin analysis found
    int centroid_given = 0;
    bool centroid_overridden = false;  // an override line set the centroid: checked by hand
    int centroid_angle = 0;
    double centroid_x = 0.0;
    double centroid_y = 0.0;
    GlueSpots glue;
    // Read only when the run draws or checks the copper (LoadContext::read_copper).
    std::vector<PinRecord> pins;
    std::vector<OutlineRecord> outlines;
};

struct PartRecord {
    std::string ref_des;
    std::string shape;
    std::string info_text;
    std::string value;
    double x = 0.0;  // the placement point
    double y = 0.0;
    double origin_x = 0.0;  // the part's origin in the layout
    double origin_y = 0.0;
    GlueSpots glue;
    int angle = 0;
    int layout_angle = 0;
    int centroid_angle = 0;
    unsigned side = 0;
    unsigned pos_flag = 0;
    int technology = TECH_SMD;
    int excluded = 0;
    int pad_flags = 0;
    int footprint_index = 0;
    int pin_count = 0;
};

/// The part table, in file order until it is sorted.
using PartTable = std::vector<PartRecord>;

/// Footprint records with a lookup by exact name that returns the first record of that name.
struct FootprintTable {
    std::vector<FootprintRecord> records;
    FirstByName first_index;

    int count() const { return static_cast<int>(records.size()); }
};

/// Appends a record and returns its index.
int add_footprint(FootprintTable& table, FootprintRecord record);

/// Index of the first record whose name equals `name` exactly, or -1.
int find_footprint(const FootprintTable& table, std::string_view name);

// A part's side is 0 (top) or 1 (bottom) in any sound file. For other values the program's rules
// differ by what they decide, and each rule has its own name.

/// Bottom for the rotation, the side counts, the side names and format 4's groups: any nonzero side.
inline bool is_bottom(const PartRecord& part) { return part.side != 0; }

/// Mirrored in the board geometry (placement point, glue spots, pads): bit 0 of the side set.
inline bool is_mirrored(unsigned side) { return (side & 1u) != 0; }

/// In the side groups of format 1 and of the plots: exactly 0 on top, exactly 1 on the bottom;
/// a part of any other side is in neither.
inline bool in_side_group(const PartRecord& part, unsigned side) { return part.side == side; }

/// A point on the board, inches.
struct BoardPoint {
    double x = 0.0, y = 0.0;
};

/// Moves the footprint offset (dx, dy) to the board for this part: mirrored in x when the part
/// is mirrored, turned clockwise by its layout angle, moved to its origin.
BoardPoint to_board(const PartRecord& part, double dx, double dy);

/// "Top" or "Bottom".
inline const char* side_name(const PartRecord& part) { return is_bottom(part) ? "Bottom" : "Top"; }

/// Everything read from the project file.
struct Project {
    std::string project_name;
    double default_glue_width = 0.025;
    FootprintTable footprints;
    PartTable parts;
    std::vector<std::vector<BoardContour>> board_outlines;  // the "[board]" outlines, each a list of contours

    int footprint_count() const { return footprints.count(); }
    int part_count() const { return static_cast<int>(parts.size()); }
};

/// Parts of one side: all of them, the excluded ones, and the others by technology class.
struct GroupCounts {
    int total = 0;
    int excluded_count = 0;
    int class_count[4] = {0, 0, 0, 0};

    int placed() const { return total - excluded_count; }
};

/// Counts the parts per side; any nonzero side counts as bottom.
void count_groups(const PartTable& parts, GroupCounts& top_counts, GroupCounts& bottom_counts);
