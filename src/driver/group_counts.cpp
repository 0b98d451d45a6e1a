#include "driver/group_counts.h"

void count_groups(const PartTable& parts, GroupCounts& top_counts, GroupCounts& bottom_counts) {
    top_counts = GroupCounts{};
    bottom_counts = GroupCounts{};
    for (const PartRecord& part : parts) {
        GroupCounts& counts = is_bottom(part) ? bottom_counts : top_counts;
        ++counts.total;
        if (part.excluded != 0)
            ++counts.excluded_count;
        else if (part.technology >= 0 && part.technology < 4)
            ++counts.class_count[part.technology];
    }
}
