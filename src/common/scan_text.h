#pragma once
#include <string_view>

/// Reads `text` like std::sscanf with `format` and returns what it returns. Plain
/// decimal numbers and words are read directly, which is many times faster on the
/// large files this program reads; anything else (signs of trouble such as a number
/// running into letters, a missing value, hexadecimal or "inf") is handed to
/// std::vsscanf, so the result is always the one sscanf gives. Formats may hold
/// blanks and "%d", "%u", "%lld", "%lf", "%s", "%*d", "%*s"; any other directive goes
/// to vsscanf as a whole.
/// `text` ends at its end or at a NUL byte, as a C string would.
int scan_text(std::string_view text, const char* format, ...) __attribute__((format(scanf, 2, 3)));
