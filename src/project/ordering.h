#pragma once
#include "project/records.h"

/// Puts the parts into designator order: alphabetically without regard to case, then
/// by the number after the alphabetic prefix within a run of equal prefixes (C2 before C10).
/// Both stages are stable: parts that compare equal keep their order.
void sort_parts(PartTable& parts);
