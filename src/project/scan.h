#pragma once
// Small helpers shared by the readers that take numbers and quoted values from
// the lines of a text file.
#include <cmath>
#include <string>
#include <string_view>

/// The value when finite, else 0: numbers like 1e999 or "nan" never enter a record.
inline double finite_or_zero(double value) { return std::isfinite(value) ? value : 0.0; }

/// The text of a quoted value whose opening quote has been consumed: up to the next
/// double quote. Without a closing quote the value runs to the end of the line,
/// with its line feed when `keep_open_newline` is set and without it otherwise.
std::string quoted_value(std::string_view rest, bool keep_open_newline);
