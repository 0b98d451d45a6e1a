#pragma once
#include <string_view>
#include <vector>

#include "project/records.h"

/// Compares like the C library's case-insensitive comparison in the C locale:
/// A-Z folded to a-z, then unsigned bytes; a prefix sorts first. Returns <0, 0 or >0.
int compare_ignoring_case(std::string_view a, std::string_view b);

/// Puts the parts into designator order: alphabetically without regard to case, then
/// by the number after the alphabetic prefix within a run of equal prefixes (C2 before C10).
/// Both stages are stable.
void sort_parts(PartTable& parts);
