#include "common/text_lines.h"

#include <cstring>

#include "common/files.h"

std::string_view TextLines::line(size_t index) const {
    size_t begin = line_starts[index];
    size_t length = line_starts[index + 1] - begin;
    const char* start = data.data() + begin;
    const void* nul = std::memchr(start, '\0', length);
    if (nul != nullptr) length = static_cast<size_t>(static_cast<const char*>(nul) - start);
    return std::string_view(start, length);
}

TextLines split_lines(std::string data) {
    TextLines text;
    size_t kept = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') continue;
        data[kept++] = data[i];
    }
    data.resize(kept);
    text.data = std::move(data);

    size_t begin = 0;
    while (begin < text.data.size()) {
        text.line_starts.push_back(begin);
        size_t limit = std::min(text.data.size(), begin + MAX_LINE_READ);
        const void* newline = std::memchr(text.data.data() + begin, '\n', limit - begin);
        begin = newline != nullptr ? static_cast<size_t>(static_cast<const char*>(newline) - text.data.data()) + 1
                                   : limit;
    }
    text.line_starts.push_back(text.data.size());
    return text;
}

TextLines read_text_lines(std::istream& in) { return split_lines(read_whole_stream(in)); }

std::string_view strip_leading_blanks(std::string_view line) {
    size_t start = line.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

std::string_view without_newline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}
