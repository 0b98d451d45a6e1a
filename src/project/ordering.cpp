#include "project/ordering.h"

#include <algorithm>
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

// The report order in one comparison. Sorting by folded designator and then, within the
// run of designators that share an alphabetic prefix followed by a digit, by the number
// after the prefix, gives the same order as comparing these keys as bytes:
//   designators with a digit:  prefix, '0', the number, folded designator
//   designators without one:   folded designator
// where the number is written as its count of significant bytes and those bytes, most
// significant first, so that keys compare numbers by value. The run of a prefix P holds
// exactly the designators that begin with P and a digit, and the '0' after P compares
// with any other designator's character at that place as that digit would; so the keys
// place each run where its designators lie alphabetically, and order it by number, then
// alphabetically. Equal keys keep file order through the index.
struct SortEntry {
    uint64_t head_high;  // the key's first 16 bytes, zero-padded, as big-endian integers
    uint64_t head_low;
    size_t tail_offset;  // the bytes after the first 16, in the arena, for longer keys
    uint32_t key_length;
    uint32_t index;  // position of the record before sorting
};

constexpr size_t HEAD_BYTES = 16;

uint64_t big_endian(const unsigned char* bytes) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = value << 8 | bytes[i];
    return value;
}

// Writes the designator's key to `key`.
void make_key(std::string_view ref_des, std::string& key) {
    key.clear();
    size_t prefix_length = alphabetic_prefix(ref_des).size();
    if (prefix_length < ref_des.size()) {
        for (size_t i = 0; i < prefix_length; ++i) key += static_cast<char>(fold(ref_des[i]));
        uint64_t number = static_cast<uint64_t>(number_at(ref_des, prefix_length));
        int bytes = 0;
        for (uint64_t rest = number; rest != 0; rest >>= 8) ++bytes;
        key += '0';
        key += static_cast<char>(bytes);
        for (int i = bytes - 1; i >= 0; --i) key += static_cast<char>(number >> (8 * i) & 0xff);
    }
    for (char c : ref_des) key += static_cast<char>(fold(c));
}

using KeyArena = std::vector<unsigned char, LargeAllocator<unsigned char>>;

// Equal heads make the key of at most 16 bytes a prefix of the other, so the rest of the
// keys needs comparing only when both are longer.
bool entry_less(const SortEntry& a, const SortEntry& b, const unsigned char* arena) {
    if (a.head_high != b.head_high) return a.head_high < b.head_high;
    if (a.head_low != b.head_low) return a.head_low < b.head_low;
    if (a.key_length > HEAD_BYTES && b.key_length > HEAD_BYTES) {
        size_t common = std::min(a.key_length, b.key_length) - HEAD_BYTES;
        int order = std::memcmp(arena + a.tail_offset, arena + b.tail_offset, common);
        if (order != 0) return order < 0;
    }
    if (a.key_length != b.key_length) return a.key_length < b.key_length;
    return a.index < b.index;
}

using Order = std::vector<uint32_t, LargeAllocator<uint32_t>>;

// Moves the records so that new position k holds the record that was at order[k], one
// cycle of the permutation at a time, with a single record held aside. The records of a
// cycle lie anywhere in the table, so the ones a few steps ahead are fetched early.
void apply_order(PartTable& parts, Order& order) {
    constexpr int STEPS_AHEAD = 8;
    auto fetch = [&parts](size_t index) {
        const char* record = reinterpret_cast<const char*>(&parts[index]);
        for (size_t offset = 0; offset < sizeof(PartRecord); offset += 64) __builtin_prefetch(record + offset);
    };
    for (size_t i = 0; i < parts.size(); ++i) {
        if (order[i] == i) continue;
        size_t ahead = i;
        for (int step = 0; step < STEPS_AHEAD; ++step) fetch(ahead = order[ahead]);
        PartRecord held = std::move(parts[i]);
        size_t current = i;
        for (;;) {
            size_t source = order[current];
            order[current] = static_cast<uint32_t>(current);
            if (source == i) {
                parts[current] = std::move(held);
                break;
            }
            parts[current] = std::move(parts[source]);
            current = source;
            // A walk past the cycle's end stops at its first position, which is done.
            fetch(ahead = order[ahead]);
        }
    }
}

}  // namespace

void sort_parts(PartTable& parts) {
    if (parts.size() < 2) return;
    KeyArena arena;
    std::vector<SortEntry, LargeAllocator<SortEntry>> entries;
    entries.reserve(parts.size());
    std::string key;
    for (size_t i = 0; i < parts.size(); ++i) {
        make_key(parts[i].ref_des, key);
        unsigned char head[HEAD_BYTES] = {};
        std::memcpy(head, key.data(), std::min(HEAD_BYTES, key.size()));
        size_t tail_offset = arena.size();
        if (key.size() > HEAD_BYTES) arena.insert(arena.end(), key.begin() + HEAD_BYTES, key.end());
        entries.push_back(SortEntry{big_endian(head), big_endian(head + 8), tail_offset,
                                    static_cast<uint32_t>(key.size()), static_cast<uint32_t>(i)});
    }
    const unsigned char* keys = arena.data();
    std::sort(entries.begin(), entries.end(),
              [keys](const SortEntry& a, const SortEntry& b) { return entry_less(a, b, keys); });
    Order order(entries.size());
    for (size_t k = 0; k < entries.size(); ++k) order[k] = entries[k].index;
    entries = {};
    apply_order(parts, order);
}
