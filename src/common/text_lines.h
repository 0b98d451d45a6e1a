#pragma once
// A text file held in memory as the lines a 1024-byte line buffer would deliver:
// every read takes at most 1023 characters and stops after a line feed, so a
// longer physical line arrives as several lines. Holding the whole file lets
// every reader rewind to the top even when the text came from a pipe.
#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

/// Longest piece of a line that one read delivers.
constexpr size_t MAX_LINE_READ = 1023;

struct TextLines {
    std::string data;                 // the file's bytes, CR before LF removed
    std::vector<size_t> line_starts;  // start of every line, plus data.size() at the end

    size_t count() const { return line_starts.empty() ? 0 : line_starts.size() - 1; }
    /// Line `index` with its line feed, cut at the first NUL byte as a C string would be.
    std::string_view line(size_t index) const;
};

/// Splits `data` into lines; a carriage return directly before a line feed is dropped first.
TextLines split_lines(std::string data);

/// Reads the whole stream into memory and splits it.
TextLines read_text_lines(std::istream& in);

/// The line without its leading spaces and tabs.
std::string_view strip_leading_blanks(std::string_view line);

/// The line without its trailing line feed.
std::string_view without_newline(std::string_view line);

/// True when `line` begins with `key` over the key's whole length (case-sensitive).
inline bool starts_with_key(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

/// Reads lines one after another; `position` can be saved and restored to look ahead.
struct LineCursor {
    const TextLines& text;
    size_t position = 0;

    bool at_end() const { return position >= text.count(); }
    /// The next line with leading blanks stripped; call only when not at_end().
    std::string_view next() { return strip_leading_blanks(text.line(position++)); }
};
