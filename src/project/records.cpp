#include "project/records.h"

int add_footprint(FootprintTable& table, FootprintRecord record) {
    int index = table.count();
    table.records.push_back(std::move(record));
    table.first_index.add(table.records.back().name, index);
    return index;
}

int find_footprint(const FootprintTable& table, std::string_view name) { return table.first_index.find(name); }

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

const char* technology_name(int technology) {
    switch (technology) {
        case TECH_SMD:
            return "SMD";
        case TECH_THRU_HOLE:
            return "Thru-Hole";
        case TECH_MIXED:
            return "Mixed";
        default:
            return "Null";
    }
}
