#pragma once
// printf-style formatting into strings and streams. Every output line of the
// program goes through one explicit printf format; the C locale is never
// changed, so numbers always use a decimal point.
#include <ostream>
#include <string>

/// Formats like std::snprintf and returns the result as a string.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Formats like std::fprintf and writes the result to `out`; returns the number of
/// characters written, or -1 when the stream has failed.
int print_to(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
