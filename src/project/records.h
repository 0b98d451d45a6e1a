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

/// A part on the bottom side by the rule of the rotation, counts and side names: any nonzero side.
inline bool is_bottom(const PartRecord& part) { return part.side != 0; }

/// "Top" or "Bottom".
inline const char* side_name(const PartRecord& part) { return is_bottom(part) ? "Bottom" : "Top"; }

/// Everything read from the project file.
struct Project {
    std::string project_name;
    double default_glue_width = 0.025;
    FootprintTable footprints;
    PartTable parts;

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
