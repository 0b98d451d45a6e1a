#include "project/records.h"

void GlueSpots::add(double spot_x, double spot_y, double spot_dia) {
    size_t index = static_cast<size_t>(count);
    x.resize(index);
    y.resize(index);
    dia.resize(index);
    x.push_back(spot_x);
    y.push_back(spot_y);
    dia.push_back(spot_dia);
    ++count;
}

void GlueSpots::clear() {
    for (int i = 0; i < count; ++i) dia[static_cast<size_t>(i)] = 0.0;
    if (!dia.empty()) dia[0] = 0.0;
    count = 0;
}

int add_footprint(FootprintTable& table, FootprintRecord record) {
    int index = table.count();
    table.first_index.emplace(record.name, index);
    table.records.push_back(std::move(record));
    return index;
}

int find_footprint(const FootprintTable& table, std::string_view name) {
    auto found = table.first_index.find(std::string(name));
    return found == table.first_index.end() ? -1 : found->second;
}
