#include "common/scan_numbers.h"

namespace scan_detail {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Digits, after an optional minus sign; the position after them, or 0 when there are none.
size_t integer_end(std::string_view word) {
    size_t at = !word.empty() && word[0] == '-' ? 1 : 0;
    size_t digits = at;
    while (at < word.size() && is_digit(word[at])) ++at;
    return at > digits ? at : 0;
}

template <typename Integer>
bool read_integer(std::string_view word, Integer& field) {
    if (integer_end(word) != word.size()) return false;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), field);
    return error == std::errc() && end == word.data() + word.size();
}

}  // namespace

bool read_plain(std::string_view word, double& field) {
    // Digits with an optional minus sign, an optional point and more digits.
    size_t at = integer_end(word);
    if (at == 0) return false;
    if (at < word.size() && word[at] == '.') ++at;
    while (at < word.size() && is_digit(word[at])) ++at;
    if (at != word.size()) return false;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), field);
    return error == std::errc() && end == word.data() + word.size();
}

bool read_plain(std::string_view word, int& field) { return read_integer(word, field); }

bool read_plain(std::string_view word, long long& field) { return read_integer(word, field); }

bool read_plain(std::string_view word, SkipInteger&) {
    long long ignored = 0;
    return read_integer(word, ignored);
}

bool read_plain(std::string_view word, SkipWord&) { return !word.empty(); }

}  // namespace scan_detail
