#pragma once
// What every report writer reads: the final settings, the loaded project with its rotations
// applied, the per-side counts and the information column.
#include <string>

#include "config/settings.h"
#include "project/records.h"

/// The optional column of information texts after the designator.
struct InfoColumn {
    std::string heading_block;  // the heading centred in 16 columns, then two spaces; empty when off
    std::string dash_block;     // sixteen dashes and two spaces; empty when off

    bool on() const { return !heading_block.empty(); }
};

/// The heading and dash blocks for `info_heading`; both empty when the heading is empty.
InfoColumn prepare_info_column(const std::string& info_heading);

struct ReportInput {
    const Settings& settings;
    const Project& project;
    const GroupCounts& top_counts;
    const GroupCounts& bottom_counts;
    InfoColumn info;
    ReportUnits units;
};

/// The pins mark: a space for a part of two or more pins with copper pads, else "*".
inline char pins_mark(const PartRecord& part) { return part.pin_count >= 2 && part.pad_flags != 0 ? ' ' : '*'; }
