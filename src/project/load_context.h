#pragma once
#include <ostream>

#include "config/info_records.h"
#include "config/settings.h"
#include "project/records.h"

/// What the project readers read besides the project file: the final settings,
/// the footprint overrides of the command file and the console.
struct LoadContext {
    const Settings& settings;
    const OverrideTable& overrides;
    std::ostream& console;
    /// Keep every footprint's pins, pads and outline lines: the placement check and the review
    /// page need them, a plain run would only hold them in memory.
    bool read_copper = false;
};

/// Inches per nanometre: part positions and the default glue width are always nanometres.
constexpr double INCH_PER_NM = 1.0 / 25400000.0;
/// Inches per mil, the scale of footprints whose units line says "MIL".
constexpr double INCH_PER_MIL = 0.001;
