#include "project/ordering.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

#include "common/text.h"

namespace {

constexpr size_t HEAD_BYTES = 16;

// What the two stages compare, gathered once per part into one compact array, so that the sorts
// compare integers instead of reaching into the large part records: the first 16 bytes of the
// designator with A-Z folded to a-z, as two big-endian numbers padded with zeros (comparing them
// compares the bytes as unsigned values, as the C library's comparison does), its length, the
// length of its prefix before the first digit, and the number after that prefix.
struct OrderEntry {
    uint64_t head[2];
    unsigned long long number;  // the leading number after the prefix, 0 when there is none
    uint32_t index;             // the part's position before sorting
    uint32_t length;
    uint32_t prefix_length;  // the characters before the first digit; all of them without one
    bool has_digit;
};

OrderEntry entry_for(std::string_view ref_des, uint32_t index) {
    OrderEntry entry{{0, 0}, 0, index, static_cast<uint32_t>(std::min<size_t>(ref_des.size(), UINT32_MAX)), 0, false};
    for (size_t i = 0; i < HEAD_BYTES; ++i) {
        unsigned char byte = i < ref_des.size() ? fold_case(ref_des[i]) : 0;
        entry.head[i / 8] = entry.head[i / 8] << 8 | byte;
    }
    size_t digit = ref_des.find_first_of("0123456789");
    entry.has_digit = digit != std::string_view::npos;
    entry.prefix_length = static_cast<uint32_t>(entry.has_digit ? digit : entry.length);
    // The number saturates instead of overflowing, so that huge numbers sort last among their run.
    constexpr unsigned long long LIMIT = LLONG_MAX;
    for (size_t i = entry.prefix_length; i < ref_des.size() && ref_des[i] >= '0' && ref_des[i] <= '9'; ++i) {
        unsigned digit_value = static_cast<unsigned>(ref_des[i] - '0');
        entry.number = entry.number > (LIMIT - digit_value) / 10 ? LIMIT : entry.number * 10 + digit_value;
    }
    return entry;
}

// Designators that agree in their first 16 bytes are told apart by their lengths, unless both
// are longer: then by their whole texts.
bool alphabetically_before(const OrderEntry& a, const OrderEntry& b, const PartTable& parts) {
    if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
    if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
    if (a.length <= HEAD_BYTES || b.length <= HEAD_BYTES) return a.length < b.length;
    return compare_ignoring_case(parts[a.index].ref_des, parts[b.index].ref_des) < 0;
}

// The first `count` (at most 8) bytes of a head number.
uint64_t leading_bytes(uint64_t head, size_t count) { return count == 0 ? 0 : head >> (64 - 8 * count); }

bool same_prefix(const OrderEntry& a, const OrderEntry& b, const PartTable& parts) {
    if (a.prefix_length != b.prefix_length) return false;
    const size_t length = a.prefix_length;
    if (length <= 8) return leading_bytes(a.head[0], length) == leading_bytes(b.head[0], length);
    if (a.head[0] != b.head[0]) return false;
    if (length <= HEAD_BYTES) return leading_bytes(a.head[1], length - 8) == leading_bytes(b.head[1], length - 8);
    if (a.head[1] != b.head[1]) return false;
    return compare_ignoring_case(std::string_view(parts[a.index].ref_des).substr(0, length),
                                 std::string_view(parts[b.index].ref_des).substr(0, length)) == 0;
}

// Moves the records so that position k holds the record that was at order[k]: one cycle of the
// permutation at a time, with a single record held aside, so the table is never held twice.
void apply_order(PartTable& parts, std::vector<uint32_t>& order) {
    for (size_t start = 0; start < parts.size(); ++start) {
        if (order[start] == start) continue;
        PartRecord held = std::move(parts[start]);
        size_t current = start;
        for (;;) {
            size_t source = order[current];
            order[current] = static_cast<uint32_t>(current);
            if (source == start) {
                parts[current] = std::move(held);
                break;
            }
            parts[current] = std::move(parts[source]);
            current = source;
        }
    }
}

}  // namespace

void sort_parts(PartTable& parts) {
    if (parts.size() < 2) return;
    std::vector<OrderEntry> entries;
    entries.reserve(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) entries.push_back(entry_for(parts[i].ref_des, static_cast<uint32_t>(i)));

    // Stage 1: alphabetically without regard to case.
    std::stable_sort(entries.begin(), entries.end(),
                     [&parts](const OrderEntry& a, const OrderEntry& b) { return alphabetically_before(a, b, parts); });

    // Stage 2: a run of designators whose prefix before the first digit equals that of the
    // run's first designator (which has a digit) is put in the order of their numbers.
    for (size_t start = 0; start < entries.size();) {
        size_t end = start + 1;
        if (entries[start].has_digit)
            while (end < entries.size() && same_prefix(entries[end], entries[start], parts)) ++end;
        if (end - start > 1)
            std::stable_sort(entries.begin() + static_cast<long>(start), entries.begin() + static_cast<long>(end),
                             [](const OrderEntry& a, const OrderEntry& b) { return a.number < b.number; });
        start = end;
    }

    std::vector<uint32_t> order;
    order.reserve(entries.size());
    for (const OrderEntry& entry : entries) order.push_back(entry.index);
    std::vector<OrderEntry>().swap(entries);
    apply_order(parts, order);
}
