#include "project/records.h"

#include <cmath>
#include <numbers>

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

BoardPoint to_board(const PartRecord& part, double dx, double dy) {
    const double mirrored_dx = is_mirrored(part.side) ? -dx : dx;
    int angle = part.layout_angle % 360;
    if (angle < 0) angle += 360;
    // The right angles exactly, as the layout editor means them.
    switch (angle) {
        case 0:
            return {part.origin_x + mirrored_dx, part.origin_y + dy};
        case 90:
            return {part.origin_x + dy, part.origin_y - mirrored_dx};
        case 180:
            return {part.origin_x - mirrored_dx, part.origin_y - dy};
        case 270:
            return {part.origin_x - dy, part.origin_y + mirrored_dx};
        default:
            break;
    }
    const double radians = angle * std::numbers::pi / 180.0;
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    return {part.origin_x + mirrored_dx * cosine + dy * sine, part.origin_y - mirrored_dx * sine + dy * cosine};
}
