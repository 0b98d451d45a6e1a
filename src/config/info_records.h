#pragma once
// Information records (-I) that patch single parts, and footprint override lines
// that give a footprint another centroid, extra glue spots or an exclusion flag.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/first_by_name.h"
#include "common/glue_spots.h"

struct CommandReader;

struct InfoRecord {
    std::string key;   // reference designator, compared case-sensitively
    std::string text;  // information text, empty when none was given
    std::int8_t excluded = 0;
    double glue_dia = -1.0;  // <0 keep the part's glue, 0 remove it, >0 new diameter
};

/// Information records in the order they were added, with a lookup of the first record per key.
struct InfoTable {
    std::vector<InfoRecord> records;
    FirstByName first_index;

    int count() const { return static_cast<int>(records.size()); }
    /// Index of the first record with this key, or -1.
    int find(std::string_view key) const { return first_index.find(key); }
    /// Appends a record and returns it.
    InfoRecord& add(InfoRecord record) {
        records.push_back(std::move(record));
        first_index.add(records.back().key, count() - 1);
        return records.back();
    }
};

/// What the footprint override lines give a footprint of this name: its exclusion flag, another
/// centroid (-10.0 marks a coordinate not given) and extra glue spots (a diameter of -1.0 stands
/// for the default glue spot size). Lengths are inches.
struct FootprintOverride {
    std::string name;
    int excluded = 0;
    double centroid_x = -10.0;
    double centroid_y = -10.0;
    GlueSpots glue;
};

/// True when the override gives both centroid coordinates: the footprint's centroid is replaced.
inline bool sets_centroid(const FootprintOverride& record) {
    return record.centroid_x > -9.0 && record.centroid_y > -9.0;
}

/// The footprint overrides in the order they were added, with a lookup of the first per name.
struct OverrideTable {
    std::vector<FootprintOverride> records;
    FirstByName first_index;

    int count() const { return static_cast<int>(records.size()); }
    /// Index of the first override of this footprint name, or -1.
    int find(std::string_view name) const { return first_index.find(name); }
    /// Appends an override and returns its index.
    int add(FootprintOverride record) {
        records.push_back(std::move(record));
        first_index.add(records.back().name, count() - 1);
        return count() - 1;
    }
};

/// Most keys one -I command takes.
constexpr size_t MAX_INFO_KEYS = 64;
/// Most glue spots one footprint override record collects.
constexpr int MAX_OVERRIDE_GLUE_SPOTS = 64;

/// The -I command: adds or updates one record per key of `parameters`. Returns the
/// number of keys processed, 0 when the command is refused.
int add_info_records(CommandReader& reader, const std::string& parameters, int line_number, const std::string& indent);

/// A command-file line that is neither empty nor a command: footprint name, exclusion
/// flag, and optionally a centroid and one glue spot with its diameter.
void read_override_line(CommandReader& reader, std::string_view line, const std::string& file_name, int line_number);
