#pragma once
#include "config/info_records.h"
#include "config/settings.h"
#include "project/records.h"

/// Applies the first information record whose key is the part's designator: its text, its
/// exclusion flag and its glue diameter (0 removes the part's glue spots, a positive value
/// becomes every spot's diameter). Returns the record's index or -1.
int apply_info_record(const InfoTable& info, PartRecord& part);

/// The placement rotation of a part from its layout angle, its side's rotation rule and
/// its footprint's centroid angle: (base + offset + 1080 + factor x centroid) mod 360, with
/// base = 360 - layout angle for a counter-clockwise side.
int placement_rotation(const PartRecord& part, int centroid_angle, const Settings& settings);

/// For every part in table order: its information record, then its placement rotation.
void apply_records_and_rotations(PartTable& parts, const InfoTable& info, const Settings& settings);
