#include "project/records.h"

void GlueSpots::add(double spot_x, double spot_y, double spot_dia) {
    size_t index = static_cast<size_t>(count);
    if (index < HELD) {
        held_[index] = GlueSpot{spot_x, spot_y, spot_dia};
    } else {
        if (!more_) more_ = std::make_unique<std::vector<GlueSpot>>();
        more_->resize(index - HELD);
        more_->push_back(GlueSpot{spot_x, spot_y, spot_dia});
    }
    ++count;
}

GlueSpots::GlueSpots(const GlueSpots& other)
    : count(other.count),
      held_(other.held_),
      more_(other.more_ ? std::make_unique<std::vector<GlueSpot>>(*other.more_) : nullptr) {}

GlueSpots& GlueSpots::operator=(const GlueSpots& other) {
    if (this != &other) *this = GlueSpots(other);
    return *this;
}

void GlueSpots::clear() {
    for (int i = 0; i < count; ++i) (*this)[static_cast<size_t>(i)].dia = 0.0;
    held_[0].dia = 0.0;
    count = 0;
}

namespace {

// The names the index reads back from the table.
auto names_of(const FootprintTable& table) {
    return [&table](int i) -> std::string_view { return table.records[static_cast<size_t>(i)].name; };
}

}  // namespace

int add_footprint(FootprintTable& table, FootprintRecord record) {
    int index = table.count();
    table.records.push_back(std::move(record));
    table.first_index.add(table.records.back().name, index, names_of(table));
    return index;
}

int find_footprint(const FootprintTable& table, std::string_view name) {
    return table.first_index.find(name, names_of(table));
}


uint64_t footprint_hash(std::string_view name) { return NameIndex::hash_of(name); }

int find_footprint(const FootprintTable& table, std::string_view name, uint64_t hash) {
    return table.first_index.find(name, hash, names_of(table));
}

void fetch_footprint_slot(const FootprintTable& table, uint64_t hash) { table.first_index.prefetch_slot(hash); }

void fetch_footprint_record(const FootprintTable& table, uint64_t hash) {
    int index = table.first_index.first_candidate(hash);
    if (index < 0) return;
    const char* record = reinterpret_cast<const char*>(&table.records[static_cast<size_t>(index)]);
    // The data a part takes lies in the record's first 128 bytes, on at most three lines.
    __builtin_prefetch(record);
    __builtin_prefetch(record + 64);
    __builtin_prefetch(record + 127);
}
