#pragma once
// A text held in memory, read as a 1024-byte line buffer would deliver it: every read takes
// at most 1023 characters and stops after a line feed, so a longer physical line arrives as
// several lines, and a line ends at a NUL byte as a C string would. Holding the whole text
// lets every reader rewind to the top, also when it came from a pipe.
#include <cstddef>
#include <string_view>

/// Longest piece of a line that one read delivers.
constexpr size_t MAX_LINE_READ = 1023;

/// Reads the lines of `text` one after another; `position` (a byte offset) can be saved and
/// restored to look ahead, and set to 0 to rewind.
struct LineCursor {
    std::string_view text;
    size_t position = 0;

    bool at_end() const { return position >= text.size(); }
    /// The next line as read, with its line feed, cut at a NUL byte; call only when not at_end().
    std::string_view next_raw();
    /// The next line with its leading blanks stripped; call only when not at_end().
    std::string_view next();
};

/// The line without its leading spaces and tabs.
std::string_view strip_leading_blanks(std::string_view line);

/// The line without its trailing line feed.
std::string_view without_newline(std::string_view line);

/// The next word of `text` from `at` as scanf's conversions see words (separated by C-locale
/// blanks: space, tab, line feed, vertical tab, form feed, carriage return); `at` moves past it.
/// Empty, with `at` at the end, when only blanks are left.
std::string_view take_word(std::string_view text, size_t& at);

/// Takes `prefix` off the front of `text` when it is there; false (and `text` unchanged) when not.
constexpr bool take_prefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

/// True when `line` begins with `key` over the key's whole length (case-sensitive).
inline bool starts_with_key(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }
