#include "common/format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::string vformat_text(const char* format, std::va_list args) {
    char small[512];
    std::va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < sizeof small) return std::string(small, length);
    std::string result(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(result.data(), result.size(), format, args);
    result.resize(static_cast<size_t>(length));
    return result;
}

}  // namespace

std::string format_text(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string result = vformat_text(format, args);
    va_end(args);
    return result;
}

int print_to(std::ostream& out, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = vformat_text(format, args);
    va_end(args);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? static_cast<int>(text.size()) : -1;
}
