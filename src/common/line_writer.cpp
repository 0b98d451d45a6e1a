#include "common/line_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// Fixed-point digits the quick way for the numbers reports are made of: finite, below 1e9, with
// at most four decimals. The product of the value and the power of ten is off the exact product
// by half an ulp at most; where it lies farther than that from a halfway point between two
// results, rounding it gives the digits printf gives, and nearer (a tie among them) it returns
// false and std::to_chars decides. Checked against snprintf by the differential tests.
bool quick_fixed(double value, int precision, char* out, size_t& length) {
    static constexpr double SCALES[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    static constexpr uint64_t DIVISORS[] = {1, 10, 100, 1000, 10000};
    if (precision < 0 || precision > 4 || !(std::fabs(value) < 1e9)) return false;
    const double scaled = std::fabs(value) * SCALES[precision];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;  // exact: the two lie within 1 of each other
    if (std::fabs(fraction - 0.5) <= scaled * 1e-15) return false;
    const uint64_t rounded = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    char* at = out;
    if (std::signbit(value)) *at++ = '-';
    at = std::to_chars(at, out + 32, rounded / DIVISORS[precision]).ptr;
    if (precision > 0) {
        *at++ = '.';
        uint64_t decimals = rounded % DIVISORS[precision];
        for (int i = precision - 1; i >= 0; --i, decimals /= 10) at[i] = static_cast<char>('0' + decimals % 10);
        at += precision;
    }
    length = static_cast<size_t>(at - out);
    return true;
}

}  // namespace

void LineWriter::grow(size_t count) { buffer_.resize(std::max(2 * buffer_.size(), size_ + count + 256)); }

void LineWriter::right(std::string_view text, int width) {
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        const size_t blanks = static_cast<size_t>(width) - text.size();
        std::memset(room(blanks), ' ', blanks);
    }
    put(text);
}

LineWriter& LineWriter::left(std::string_view text, int width) {
    put(text);
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        const size_t blanks = static_cast<size_t>(width) - text.size();
        std::memset(room(blanks), ' ', blanks);
    }
    return *this;
}

LineWriter& LineWriter::left_cut(std::string_view text, int width) {
    return left(text.substr(0, static_cast<size_t>(width > 0 ? width : 0)), width);
}

LineWriter& LineWriter::integer(long long value, int width) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    right(std::string_view(digits, static_cast<size_t>(result.ptr - digits)), width);
    return *this;
}

LineWriter& LineWriter::csv(std::string_view text) {
    // The characters that make a field need quotes, looked up rather than compared one by one.
    static constexpr auto QUOTED = [] {
        std::array<bool, 256> quoted{};
        for (unsigned char c : {',', '"', '\n', '\r'}) quoted[c] = true;
        return quoted;
    }();
    bool plain = true;
    for (char c : text) plain &= !QUOTED[static_cast<unsigned char>(c)];
    if (plain) return put(text);
    put('"');
    for (char c : text) {
        if (c == '"') put('"');
        put(c);
    }
    return put('"');
}

LineWriter& LineWriter::fixed(double value, int width, int precision) {
    // Room for the largest double with its decimals; to_chars writes "inf" and "nan" as printf does.
    char digits[320 + 24];
    size_t length = 0;
    if (!quick_fixed(value, precision, digits, length))
        length = static_cast<size_t>(
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision).ptr - digits);
    right(std::string_view(digits, length), width);
    return *this;
}
