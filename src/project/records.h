#pragma once
// The records the program learns from the layout project file, and the tables
// that hold them. Lengths are inches, angles whole degrees.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/memory.h"
#include "common/name_index.h"
#include "common/short_text.h"

enum TechClass : int { TECH_SMD = 0, TECH_THRU_HOLE = 1, TECH_MIXED = 2, TECH_NULL = 3 };

struct GlueSpot {
    double x = 0.0;
    double y = 0.0;
    double dia = 0.0;
};

/// Glue spots of a footprint or part. `count` spots are valid; the first stored spot
/// keeps its position when the spots are removed, because the listings print it even then.
/// The first two spots are held in the record itself, so that the usual part needs no
/// memory of its own for them.
struct GlueSpots {
    int count = 0;

    GlueSpots() = default;
    GlueSpots(const GlueSpots& other);
    GlueSpots(GlueSpots&&) noexcept = default;
    GlueSpots& operator=(const GlueSpots& other);
    GlueSpots& operator=(GlueSpots&&) noexcept = default;
    ~GlueSpots() = default;

    /// Appends a spot at index `count`.
    void add(double spot_x, double spot_y, double spot_dia);
    /// Removes every spot; the first entry's diameter becomes 0.
    void clear();
    GlueSpot& operator[](size_t index) { return index < HELD ? held_[index] : (*more_)[index - HELD]; }
    const GlueSpot& operator[](size_t index) const { return index < HELD ? held_[index] : (*more_)[index - HELD]; }
    /// The first stored spot, zero when none was ever stored.
    double first_x() const { return held_[0].x; }
    double first_y() const { return held_[0].y; }
    double first_dia() const { return held_[0].dia; }

private:
    static constexpr size_t HELD = 2;
    std::array<GlueSpot, HELD> held_{};
    // Spots from index HELD on; absent for nearly every record, so only a pointer wide.
    std::unique_ptr<std::vector<GlueSpot>> more_;
};

/// What a part takes from its footprint comes first, up to and with the glue spots, so that
/// it spans as few cache lines as it can: every part reads it from a random footprint.
struct FootprintRecord {
    ShortText name;
    int technology = TECH_SMD;
    int excluded = 0;
    int pad_flags = 0;
    int pin_count = 0;
    int centroid_given = 0;
    int centroid_angle = 0;
    double centroid_x = 0.0;
    double centroid_y = 0.0;
    GlueSpots glue;
    ShortText author;
    ShortText source;
    ShortText description;
};

struct PartRecord {
    ShortText ref_des;
    ShortText shape;
    ShortText info_text;
    ShortText value;
    double x = 0.0;  // the part's origin in the layout until its footprint is attached
    double y = 0.0;
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
using PartTable = std::vector<PartRecord, LargeAllocator<PartRecord>>;

/// Footprint records with a lookup by exact name that returns the first record of that name.
struct FootprintTable {
    std::vector<FootprintRecord, LargeAllocator<FootprintRecord>> records;
    NameIndex first_index;

    int count() const { return static_cast<int>(records.size()); }
};

/// Appends a record and returns its index.
int add_footprint(FootprintTable& table, FootprintRecord record);

/// Index of the first record whose name equals `name` exactly, or -1.
int find_footprint(const FootprintTable& table, std::string_view name);

/// The hash under which a footprint name is looked up.
uint64_t footprint_hash(std::string_view name);

/// find_footprint with the name's footprint_hash already known.
int find_footprint(const FootprintTable& table, std::string_view name, uint64_t hash);

/// Starts fetching the index slot where the lookup of this hash begins, without waiting.
void fetch_footprint_slot(const FootprintTable& table, uint64_t hash);

/// Starts fetching the record that the slot of this hash leads to, without waiting for the
/// record (only for the slot, which should have been fetched before).
void fetch_footprint_record(const FootprintTable& table, uint64_t hash);

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
