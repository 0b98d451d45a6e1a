#pragma once
// A text file held in memory and read as a 1024-byte line buffer would deliver it:
// every read takes at most 1023 characters and stops after a line feed, so a
// longer physical line arrives as several lines. Holding the whole file lets
// every reader rewind to the top even when the text came from a pipe; lines are
// found as they are read, so no index of them is kept.
#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

/// Longest piece of a line that one read delivers.
constexpr size_t MAX_LINE_READ = 1023;

struct TextLines {
    std::string_view data;                // the text, CR before LF removed
    std::shared_ptr<const void> storage;  // owns the bytes `data` points into
    bool discardable = false;             // the bytes are a large block of our own (see discard_text_before)
    bool nul_free = false;                // no NUL byte in `data`: lines need not be searched for one
};

/// Holds `data` as text; a carriage return directly before a line feed is dropped first.
TextLines split_lines(std::string data);

/// Reads the whole stream into memory.
TextLines read_text_lines(std::istream& in);

/// Reads the regular file at `path`; false when it cannot be opened or read.
bool read_text_file(const std::string& path, TextLines& text);

/// Hands the memory of the text before `position` back to the system where it is a large
/// block of our own, so that tables growing meanwhile reuse those pages; the bytes there
/// read as zeros afterwards. Only for the last reader of a text, which reads forward.
void discard_text_before(const TextLines& text, size_t position);

/// The line without its leading spaces and tabs.
std::string_view strip_leading_blanks(std::string_view line);

/// The line without its trailing line feed.
std::string_view without_newline(std::string_view line);

/// True when `line` begins with `key` over the key's whole length (case-sensitive).
inline bool starts_with_key(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

/// Reads lines one after another; `position` (a byte offset) can be saved and restored
/// to look ahead, and set to 0 to rewind.
struct LineCursor {
    const TextLines& text;
    size_t position = 0;

    bool at_end() const { return position >= text.data.size(); }
    /// The next line as read, with its line feed, cut at its first NUL byte as a C string
    /// would be; call only when not at_end().
    std::string_view next_raw();
    /// The next line with leading blanks stripped; call only when not at_end().
    std::string_view next() { return strip_leading_blanks(next_raw()); }
};

/// Moves the cursor past the first line that next() would deliver starting with `key` (a
/// key without line feeds, NUL bytes or leading blanks); at the end of the text when there
/// is none, then false. Quicker than reading the lines one by one: it looks only at the
/// places where the key's first character stands.
bool skip_past_line_starting_with(LineCursor& cursor, std::string_view key);
