#pragma once
#include "config/settings.h"
#include "project/records.h"

/// The placement rotation of a part from its layout angle, its side's rotation rule and
/// its footprint's centroid angle: (base + offset + 1080 + factor x centroid) mod 360, with
/// base = 360 - layout angle for a counter-clockwise side.
int placement_rotation(const PartRecord& part, int centroid_angle, const Settings& settings);
