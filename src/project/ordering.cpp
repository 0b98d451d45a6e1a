#include "project/ordering.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#include "common/memory.h"

namespace {

unsigned char fold(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// The characters before the first decimal digit, or the whole designator without one.
std::string_view alphabetic_prefix(std::string_view ref_des) {
    size_t digit = ref_des.find_first_of("0123456789");
    return digit == std::string_view::npos ? ref_des : ref_des.substr(0, digit);
}

// The leading decimal integer at `start`; 0 when there is none. Saturates instead of overflowing.
long long number_at(std::string_view ref_des, size_t start) {
    long long number = 0;
    for (size_t i = start; i < ref_des.size() && ref_des[i] >= '0' && ref_des[i] <= '9'; ++i) {
        int digit = ref_des[i] - '0';
        if (number > (LLONG_MAX - digit) / 10) return LLONG_MAX;
        number = number * 10 + digit;
    }
    return number;
}

}  // namespace

int compare_ignoring_case(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char left = fold(a[i]);
        unsigned char right = fold(b[i]);
        if (left != right) return left < right ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

// One part as the ordering sees it: its designator folded to lower case, and the
// number after its alphabetic prefix. Both stages compare these compact entries.
struct SortEntry {
    static constexpr size_t KEY_ROOM = 16;
    std::array<char, KEY_ROOM> key;  // the first characters of the folded designator, NUL-padded
    std::string_view folded;         // the whole folded designator, in the arena
    uint32_t index;                  // position of the record before sorting
    uint32_t prefix_length;          // characters before the first digit, or the whole length
    long long number;                // the leading integer after the prefix, 0 when none
};

std::vector<SortEntry> sort_entries(const std::vector<PartRecord>& parts, std::string& arena) {
    size_t total = 0;
    for (const PartRecord& part : parts) total += part.ref_des.size();
    arena.clear();
    arena.reserve(total);
    for (const PartRecord& part : parts)
        for (char c : part.ref_des) arena.push_back(static_cast<char>(fold(c)));
    std::vector<SortEntry> entries;
    entries.reserve(parts.size());
    advise_huge_pages(entries.data(), entries.capacity() * sizeof(SortEntry));
    size_t offset = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string_view folded(arena.data() + offset, parts[i].ref_des.size());
        offset += folded.size();
        size_t prefix_length = alphabetic_prefix(folded).size();
        SortEntry entry{{}, folded, static_cast<uint32_t>(i), static_cast<uint32_t>(prefix_length),
                        number_at(folded, prefix_length)};
        folded.copy(entry.key.data(), SortEntry::KEY_ROOM);
        entries.push_back(entry);
    }
    return entries;
}

// Compares folded designators as unsigned bytes, a prefix first. The inline keys decide
// almost every comparison without a look into the arena; NUL padding sorts a shorter key
// first, and a designator holding NUL bytes cannot occur (lines end at the first one).
bool entry_less(const SortEntry& a, const SortEntry& b) {
    int order = std::memcmp(a.key.data(), b.key.data(), SortEntry::KEY_ROOM);
    if (order != 0) return order < 0;
    if (a.folded.size() <= SortEntry::KEY_ROOM || b.folded.size() <= SortEntry::KEY_ROOM)
        return a.folded.size() < b.folded.size();
    std::string_view rest_a = a.folded.substr(SortEntry::KEY_ROOM), rest_b = b.folded.substr(SortEntry::KEY_ROOM);
    size_t common = std::min(rest_a.size(), rest_b.size());
    order = std::memcmp(rest_a.data(), rest_b.data(), common);
    return order != 0 ? order < 0 : rest_a.size() < rest_b.size();
}

// Moves the records so that new position k holds the record that was at order[k],
// one cycle of the permutation at a time, with a single record held aside.
void apply_order(std::vector<PartRecord>& parts, std::vector<size_t>& order) {
    for (size_t i = 0; i < parts.size(); ++i) {
        if (order[i] == i) continue;
        PartRecord held = std::move(parts[i]);
        size_t current = i;
        for (;;) {
            size_t source = order[current];
            order[current] = current;
            if (source == i) {
                parts[current] = std::move(held);
                break;
            }
            parts[current] = std::move(parts[source]);
            current = source;
        }
    }
}

}  // namespace

void sort_parts(std::vector<PartRecord>& parts) {
    if (parts.size() < 2) return;
    // Both stages sort compact entries, so the records move once, at the end.
    std::string arena;
    std::vector<SortEntry> entries = sort_entries(parts, arena);
    std::stable_sort(entries.begin(), entries.end(), entry_less);

    size_t start = 0;
    while (start + 1 < entries.size()) {
        const SortEntry& first = entries[start];
        if (first.prefix_length == first.folded.size()) {  // no digit: no group
            ++start;
            continue;
        }
        std::string_view prefix = first.folded.substr(0, first.prefix_length);
        size_t end = start;
        while (end + 1 < entries.size() &&
               entries[end + 1].folded.substr(0, entries[end + 1].prefix_length) == prefix)
            ++end;
        if (end > start)
            std::stable_sort(entries.begin() + static_cast<long>(start), entries.begin() + static_cast<long>(end) + 1,
                             [](const SortEntry& a, const SortEntry& b) { return a.number < b.number; });
        start = end + 1;
    }
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].index;
    apply_order(parts, order);
}
