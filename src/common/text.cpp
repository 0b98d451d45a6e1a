#include "common/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// Formats into `small` when the text fits there, else into `large`, and points `text` at the
// result; each text is formatted once, or twice when it is too long for `small`. Returns the
// length, or a negative number on an encoding error (`text` then empty).
template <size_t N>
int format_into(char (&small)[N], std::string& large, std::string_view& text, const char* format,
                va_list arguments) {
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(small, N, format, arguments);
    if (length >= 0 && static_cast<size_t>(length) < N) {
        text = std::string_view(small, static_cast<size_t>(length));
    } else if (length >= 0) {
        large.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        large.resize(static_cast<size_t>(length));
        text = large;
    }
    va_end(again);
    return length;
}

}  // namespace

std::string format_text(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    char small[256];
    std::string large;
    std::string_view text;
    format_into(small, large, text, format, arguments);
    va_end(arguments);
    if (text.data() == small) return std::string(text);
    return large;
}

int print_to(std::ostream& out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    // Nearly every line fits the buffer on the stack, the rows of a report included.
    char line[512];
    std::string large;
    std::string_view text;
    int length = format_into(line, large, text, format, arguments);
    va_end(arguments);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? length : -1;
}

int compare_ignoring_case(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char left = fold_case(a[i]);
        unsigned char right = fold_case(b[i]);
        if (left != right) return left < right ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}
