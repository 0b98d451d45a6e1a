#include "project/ordering.h"

#include <algorithm>
#include <climits>

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

void sort_parts(std::vector<PartRecord>& parts) {
    if (parts.size() < 2) return;
    std::stable_sort(parts.begin(), parts.end(), [](const PartRecord& a, const PartRecord& b) {
        return compare_ignoring_case(a.ref_des, b.ref_des) < 0;
    });

    size_t start = 0;
    while (start + 1 < parts.size()) {
        std::string_view ref_des = parts[start].ref_des;
        size_t digit = ref_des.find_first_of("0123456789");
        if (digit == std::string_view::npos) {
            ++start;
            continue;
        }
        std::string_view prefix = ref_des.substr(0, digit);
        size_t end = start;
        while (end + 1 < parts.size() && compare_ignoring_case(alphabetic_prefix(parts[end + 1].ref_des), prefix) == 0)
            ++end;
        if (end > start) {
            size_t length = prefix.size();
            std::stable_sort(parts.begin() + static_cast<long>(start), parts.begin() + static_cast<long>(end) + 1,
                             [length](const PartRecord& a, const PartRecord& b) {
                                 return number_at(a.ref_des, length) < number_at(b.ref_des, length);
                             });
        }
        start = end + 1;
    }
}
