#pragma once
#include <atomic>
#include <cstddef>

#include "common/text_lines.h"
#include "project/load_context.h"

/// Reads the project header (name, default glue width) and every footprint block of
/// the "[footprints]" section into `project`; returns the footprint count. After each
/// footprint, `progress` receives the position before which the reader will
/// read nothing more, so that another reader may give that text back.
int read_footprints(const TextLines& text, const LoadContext& context, Project& project,
                    std::atomic<size_t>& progress);

/// The footprint scale a "units:" line sets: mils when it contains "MIL", else nanometres.
double units_scale(std::string_view units_line);
