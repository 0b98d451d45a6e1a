#include "common/line_writer.h"

#include <charconv>

void LineWriter::right(std::string_view text, int width) {
    if (width > 0 && text.size() < static_cast<size_t>(width))
        line_.append(static_cast<size_t>(width) - text.size(), ' ');
    line_ += text;
}

LineWriter& LineWriter::left(std::string_view text, int width) {
    line_ += text;
    if (width > 0 && text.size() < static_cast<size_t>(width))
        line_.append(static_cast<size_t>(width) - text.size(), ' ');
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

LineWriter& LineWriter::fixed(double value, int width, int precision) {
    // Room for the largest double with its decimals; to_chars writes "inf" and "nan" as printf does.
    char digits[320 + 24];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    right(std::string_view(digits, static_cast<size_t>(result.ptr - digits)), width);
    return *this;
}
