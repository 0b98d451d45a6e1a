#include "common/text_lines.h"

#include <algorithm>
#include <cstring>

#include "common/files.h"
#include "common/memory.h"

std::string_view LineCursor::next_raw() {
    std::string_view data = text.data;
    const char* start = data.data() + position;
    size_t limit = std::min(data.size() - position, MAX_LINE_READ);
    const void* newline = std::memchr(start, '\n', limit);
    size_t length = newline != nullptr ? static_cast<size_t>(static_cast<const char*>(newline) - start) + 1 : limit;
    position += length;
    if (!text.nul_free) {
        const void* nul = std::memchr(start, '\0', length);
        if (nul != nullptr) length = static_cast<size_t>(static_cast<const char*>(nul) - start);
    }
    return std::string_view(start, length);
}

bool skip_past_line_starting_with(LineCursor& cursor, std::string_view key) {
    const std::string_view data = cursor.text.data;
    const char* const base = data.data();
    const size_t size = data.size();
    // Lines are read in pieces of MAX_LINE_READ characters counted from a line's start; the
    // cursor's position is such a start, and so is every place after a line feed.
    size_t line_start = cursor.position;
    size_t searched = cursor.position;  // no line feed in [line_start, searched)
    size_t from = cursor.position;
    while (from < size) {
        const void* found = std::memchr(base + from, key[0], size - from);
        if (found == nullptr) break;
        const size_t hit = static_cast<size_t>(static_cast<const char*>(found) - base);
        if (const void* newline = memrchr(base + searched, '\n', hit - searched))
            line_start = static_cast<size_t>(static_cast<const char*>(newline) - base) + 1;
        searched = hit;
        from = hit + 1;
        const size_t piece_start = line_start + (hit - line_start) / MAX_LINE_READ * MAX_LINE_READ;
        const size_t piece_limit = std::min(size, piece_start + MAX_LINE_READ);
        // The piece must hold the whole key, with nothing but blanks before it.
        if (hit + key.size() > piece_limit || data.substr(hit, key.size()) != key) continue;
        bool blanks_only = true;
        for (size_t i = piece_start; i < hit && blanks_only; ++i) blanks_only = base[i] == ' ' || base[i] == '\t';
        if (!blanks_only) continue;
        const void* newline = std::memchr(base + hit, '\n', piece_limit - hit);
        cursor.position = newline != nullptr ? static_cast<size_t>(static_cast<const char*>(newline) - base) + 1 : piece_limit;
        return true;
    }
    cursor.position = size;
    return false;
}

namespace {

// Drops every carriage return directly before a line feed, from the one at `first` on;
// returns the new length.
size_t drop_carriage_returns(char* data, size_t size, size_t first) {
    size_t kept = first;
    for (size_t i = first; i < size; ++i) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
        data[kept++] = data[i];
    }
    return kept;
}

}  // namespace

TextLines split_lines(std::string data) {
    size_t carriage_return = data.find("\r\n");
    if (carriage_return != std::string::npos)
        data.resize(drop_carriage_returns(data.data(), data.size(), carriage_return));
    auto owned = std::make_shared<std::string>(std::move(data));
    return TextLines{*owned, owned, false, owned->find('\0') == std::string::npos};
}

TextLines read_text_lines(std::istream& in) { return split_lines(read_whole_stream(in)); }

bool read_text_file(const std::string& path, TextLines& text) {
    if (std::shared_ptr<LargeFileBytes> bytes = read_large_file(path)) {
        std::string_view data(bytes->data(), bytes->size());
        if (size_t first = data.find("\r\n"); first != std::string_view::npos)
            bytes->set_size(drop_carriage_returns(bytes->data(), bytes->size(), first));
        const bool nul_free = std::memchr(bytes->data(), '\0', bytes->size()) == nullptr;
        text = TextLines{std::string_view(bytes->data(), bytes->size()), std::move(bytes), true, nul_free};
        return true;
    }
    std::string bytes;
    if (!read_whole_file(path, bytes)) return false;
    text = split_lines(std::move(bytes));
    return true;
}

void discard_text_before(const TextLines& text, size_t position) {
    if (text.discardable) discard_pages(text.data.data(), std::min(position, text.data.size()));
}

std::string_view strip_leading_blanks(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.substr(start);
}

std::string_view without_newline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}
