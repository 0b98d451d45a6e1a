#pragma once
#include <string_view>

#include "project/load_context.h"

/// Reads every part block of the "[parts]" section of `text` into `project.parts`, in file
/// order, with its footprint's data and its placement point and glue spots in board
/// coordinates; returns the part count. The footprint table must be complete.
int read_parts(std::string_view text, Project& project);
