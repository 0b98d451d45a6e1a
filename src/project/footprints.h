#pragma once
#include <string_view>

#include "project/load_context.h"

/// Reads the project header (name, default glue width), every footprint block of the
/// "[footprints]" section of `text` and the board outlines of the "[board]" section that ends it
/// into `project`; returns the footprint count.
int read_footprints(std::string_view text, const LoadContext& context, Project& project);

/// The footprint scale a "units:" line sets: mils when it contains "MIL", else nanometres.
double units_scale(std::string_view units_line);
