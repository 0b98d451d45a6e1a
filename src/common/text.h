#pragma once
// Formatted text. Every output line of the program is one explicit printf format; the
// C locale is never changed, so numbers always use a decimal point.
#include <ostream>
#include <string>
#include <string_view>

/// Formats like std::snprintf and returns the result as a string.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Formats like std::fprintf and writes the result to `out`; returns the number of characters
/// written, or -1 when the stream has failed.
int print_to(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

/// The byte with A-Z folded to a-z, as an unsigned value: what the case-insensitive comparison
/// and the ordering of designators compare.
inline unsigned char fold_case(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

/// Compares like the C library's case-insensitive comparison in the C locale: A-Z folded to
/// a-z, then unsigned bytes; a prefix sorts first. Returns <0, 0 or >0.
int compare_ignoring_case(std::string_view a, std::string_view b);
