#include "common/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

std::string vformat(const char* format, va_list arguments) {
    char small[256];
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(small, sizeof small, format, arguments);
    if (length < 0) {
        va_end(again);
        return std::string();
    }
    if (static_cast<size_t>(length) < sizeof small) {
        va_end(again);
        return std::string(small, static_cast<size_t>(length));
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

std::string format_text(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = vformat(format, arguments);
    va_end(arguments);
    return text;
}

int print_to(std::ostream& out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    // Nearly every line fits the buffer on the stack, the rows of a report included.
    char line[512];
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(line, sizeof line, format, arguments);
    if (length >= 0 && static_cast<size_t>(length) < sizeof line) {
        out.write(line, length);
    } else if (length >= 0) {
        std::string text = vformat(format, again);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    va_end(again);
    va_end(arguments);
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
