#pragma once
#include <vector>

#include "project/records.h"

/// Parts of one side: all of them, the excluded ones, and the others by technology class.
struct GroupCounts {
    int total = 0;
    int excluded_count = 0;
    int class_count[4] = {0, 0, 0, 0};

    int placed() const { return total - excluded_count; }
};

/// Counts the parts per side; any nonzero side counts as bottom.
void count_groups(const PartTable& parts, GroupCounts& top_counts, GroupCounts& bottom_counts);
