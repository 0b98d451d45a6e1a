#include "common/lines.h"

#include <algorithm>
#include <cstring>

std::string_view LineCursor::next_raw() {
    const char* start = text.data() + position;
    size_t limit = std::min(text.size() - position, MAX_LINE_READ);
    const void* newline = std::memchr(start, '\n', limit);
    size_t length = newline != nullptr ? static_cast<size_t>(static_cast<const char*>(newline) - start) + 1 : limit;
    position += length;
    if (const void* nul = std::memchr(start, '\0', length))
        length = static_cast<size_t>(static_cast<const char*>(nul) - start);
    return std::string_view(start, length);
}

std::string_view LineCursor::next() { return strip_leading_blanks(next_raw()); }

std::string_view strip_leading_blanks(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.substr(start);
}

std::string_view without_newline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

std::string_view take_word(std::string_view text, size_t& at) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    while (at < text.size() && blank(text[at])) ++at;
    size_t start = at;
    while (at < text.size() && !blank(text[at])) ++at;
    return text.substr(start, at - start);
}
