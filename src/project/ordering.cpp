#include "project/ordering.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/memory.h"
#include "common/second_thread.h"

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

// Writes the first `room` bytes of the designator's key to `out` and returns how many it
// wrote: all of the key when it is shorter.
size_t write_key(std::string_view ref_des, unsigned char* out, size_t room) {
    size_t used = 0;
    auto put = [&](unsigned char byte) {
        if (used < room) out[used++] = byte;
    };
    size_t prefix_length = alphabetic_prefix(ref_des).size();
    if (prefix_length < ref_des.size()) {
        for (size_t i = 0; i < prefix_length && used < room; ++i) put(fold(ref_des[i]));
        uint64_t number = static_cast<uint64_t>(number_at(ref_des, prefix_length));
        int bytes = 0;
        for (uint64_t rest = number; rest != 0; rest >>= 8) ++bytes;
        put('0');
        put(static_cast<unsigned char>(bytes));
        for (int i = bytes - 1; i >= 0; --i) put(static_cast<unsigned char>(number >> (8 * i) & 0xff));
    }
    for (size_t i = 0; i < ref_des.size() && used < room; ++i) put(fold(ref_des[i]));
    return used;
}

// The longest key a designator can have: its folded text twice, the marker, the count and
// eight bytes of number.
size_t key_room(std::string_view ref_des) { return 2 * ref_des.size() + 10; }

// What the sort compares: the key's first 12 bytes, zero-padded, as big-endian integers,
// with the record's position below them. Keys that differ there are in order; keys that
// agree there are put in order by their whole keys afterwards.
struct SortEntry {
    uint64_t head;             // key bytes 0 to 7
    uint64_t next_and_index;   // key bytes 8 to 11, then the position of the record before sorting

    uint32_t index() const { return static_cast<uint32_t>(next_and_index); }
    bool same_head(const SortEntry& other) const {
        return head == other.head && next_and_index >> 32 == other.next_and_index >> 32;
    }
};

constexpr size_t HEAD_BYTES = 12;

uint64_t big_endian(const unsigned char* bytes, size_t count) {
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value = value << 8 | bytes[i];
    return value;
}

SortEntry entry_for(std::string_view ref_des, uint32_t index) {
    unsigned char head[HEAD_BYTES] = {};
    write_key(ref_des, head, HEAD_BYTES);
    return SortEntry{big_endian(head, 8), big_endian(head + 8, 4) << 32 | index};
}

bool entry_less(const SortEntry& a, const SortEntry& b) {
    return a.head != b.head ? a.head < b.head : a.next_and_index < b.next_and_index;
}

// Byte `position` of the entry's 12 key bytes.
unsigned key_byte(const SortEntry& entry, int position) {
    return position < 8 ? static_cast<unsigned>(entry.head >> (56 - 8 * position) & 0xff)
                        : static_cast<unsigned>(entry.next_and_index >> (120 - 8 * position) & 0xff);
}

// Sorts by key bytes from `position` on, the bytes before it being equal over the range:
// entries are distributed into 256 buckets by one byte at a time, in place, skipping bytes
// that all entries share, and small buckets are finished by comparison. Each pass reads
// the range in order and sends every entry to one of a few hundred places, where a
// comparison sort would read the whole range again at every level of its recursion.
void sort_entries(SortEntry* first, SortEntry* last, int position) {
    constexpr ptrdiff_t SMALL = 256;
    for (; position < static_cast<int>(HEAD_BYTES); ++position) {
        if (last - first <= SMALL) break;
        size_t counts[256] = {};
        for (const SortEntry* entry = first; entry != last; ++entry) ++counts[key_byte(*entry, position)];
        if (counts[key_byte(*first, position)] == static_cast<size_t>(last - first)) continue;
        size_t next[256], ends[256];
        size_t total = 0;
        for (int bucket = 0; bucket < 256; ++bucket) {
            next[bucket] = total;
            total += counts[bucket];
            ends[bucket] = total;
        }
        // Every entry taken from a bucket's unfilled part is carried to its own bucket,
        // and the one found there carried on, until one belongs where the first was taken.
        for (int bucket = 0; bucket < 256; ++bucket) {
            while (next[bucket] < ends[bucket]) {
                SortEntry carried = first[next[bucket]];
                unsigned target = key_byte(carried, position);
                while (target != static_cast<unsigned>(bucket)) {
                    std::swap(carried, first[next[target]++]);
                    target = key_byte(carried, position);
                }
                first[next[bucket]++] = carried;
            }
        }
        size_t start = 0;
        for (int bucket = 0; bucket < 256; ++bucket) {
            if (counts[bucket] > 1) sort_entries(first + start, first + ends[bucket], position + 1);
            start = ends[bucket];
        }
        return;
    }
    // Few entries left, or all 12 key bytes equal: the positions decide those.
    std::sort(first, last, entry_less);
}

// Puts a run of positions whose entries' heads agree in the order of their records' whole
// keys, then positions. A zero-padded head that compares lower belongs to a lower key, so
// the run's place among the other entries is already right.
void order_by_whole_keys(const PartTable& parts, uint32_t* first, uint32_t* last) {
    struct Keyed {
        size_t offset;
        size_t length;
        uint32_t index;
    };
    std::vector<unsigned char> keys;
    std::vector<Keyed> run;
    for (const uint32_t* index = first; index != last; ++index) {
        std::string_view ref_des = parts[*index].ref_des;
        size_t offset = keys.size();
        keys.resize(offset + key_room(ref_des));
        size_t length = write_key(ref_des, keys.data() + offset, key_room(ref_des));
        keys.resize(offset + length);
        run.push_back(Keyed{offset, length, *index});
    }
    std::sort(run.begin(), run.end(), [&keys](const Keyed& a, const Keyed& b) {
        int order = std::memcmp(keys.data() + a.offset, keys.data() + b.offset, std::min(a.length, b.length));
        if (order != 0) return order < 0;
        if (a.length != b.length) return a.length < b.length;
        return a.index < b.index;
    });
    for (const Keyed& keyed : run) *first++ = keyed.index;
}

using Entries = std::vector<SortEntry, LargeAllocator<SortEntry>>;
using Order = std::vector<uint32_t, LargeAllocator<uint32_t>>;

// Tables from this size on are sorted as two halves, each by a thread of its own, and merged.
constexpr size_t PARALLEL_SORT_PARTS = 16384;

// The entries of parts [begin, end), sorted by head and position.
Entries sorted_entries(const PartTable& parts, size_t begin, size_t end) {
    Entries entries;
    entries.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) entries.push_back(entry_for(parts[i].ref_des, static_cast<uint32_t>(i)));
    sort_entries(entries.data(), entries.data() + entries.size(), 0);
    return entries;
}

// The table's order from its two sorted halves (the second may be empty): they are merged
// by head and position, and every run of entries with equal heads, which the merge puts
// side by side, is then put in the order of whole keys. The order of the entries is total
// (positions differ), so the merge gives exactly what sorting all of them together would.
Order merged_order(const PartTable& parts, const Entries& first, const Entries& second) {
    Order order;
    order.reserve(first.size() + second.size());
    const SortEntry* a = first.data();
    const SortEntry* const a_end = a + first.size();
    const SortEntry* b = second.data();
    const SortEntry* const b_end = b + second.size();
    const SortEntry* run_head = nullptr;
    size_t run_start = 0;
    auto close_run = [&] {
        if (order.size() - run_start > 1) order_by_whole_keys(parts, order.data() + run_start, order.data() + order.size());
    };
    while (a != a_end || b != b_end) {
        const SortEntry* next = b == b_end || (a != a_end && entry_less(*a, *b)) ? a++ : b++;
        if (run_head == nullptr || !run_head->same_head(*next)) {
            close_run();
            run_head = next;
            run_start = order.size();
        }
        order.push_back(next->index());
    }
    close_run();
    return order;
}

// The order that puts the table in report order: order[k] is the position of the record
// that belongs at k.
Order report_order(const PartTable& parts) {
    if (parts.size() < PARALLEL_SORT_PARTS) return merged_order(parts, sorted_entries(parts, 0, parts.size()), Entries());
    const size_t half = parts.size() / 2;
    Entries first, second;
    run_beside([&] { second = sorted_entries(parts, half, parts.size()); },
               [&] { first = sorted_entries(parts, 0, half); });
    return merged_order(parts, first, second);
}

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
    Order order = report_order(parts);
    apply_order(parts, order);
}
