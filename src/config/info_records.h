#pragma once
// Information records (-I) that patch single parts, and footprint override lines
// that give a footprint another centroid, extra glue spots or an exclusion flag.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/name_index.h"

#include "project/records.h"

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
    NameIndex first_index;

    int count() const { return static_cast<int>(records.size()); }
    /// The keys the index reads back from the records.
    auto keys() const {
        return [this](int i) -> std::string_view { return records[static_cast<size_t>(i)].key; };
    }
    /// Index of the first record with this key, or -1.
    int find(std::string_view key) const { return first_index.find(key, keys()); }
    /// Appends a record and returns it.
    InfoRecord& add(InfoRecord record) {
        records.push_back(std::move(record));
        first_index.add(records.back().key, count() - 1, keys());
        return records.back();
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

/// Applies the first information record whose key is the part's designator; returns its
/// index or -1.
int apply_info_record(const InfoTable& info, PartRecord& part);
