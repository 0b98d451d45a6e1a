#pragma once
// What the command file reader and the command handlers share: the tables they fill, the
// reader's counters, the line at hand and the helpers for its parameters.
#include <ostream>
#include <string>
#include <string_view>

#include "config/info_records.h"
#include "config/settings.h"

/// What reading the command file fills, and the reader's counters shared by all nesting levels.
struct CommandReader {
    Settings& settings;
    InfoTable& info;
    OverrideTable& overrides;
    std::ostream& console;
    int include_depth = 0;
    int valid_command_count = 0;
};

/// One command line being handled: where it is, the whole line and its parameters.
struct CommandLine {
    const std::string& file_name;
    int line_number;
    const std::string& text;        // the line as read, comment cut off
    const std::string& parameters;  // everything after the command letter
};

/// The message prefix "\n  file - line: ".
std::string message_prefix(const CommandLine& line);

/// Copies the text after the first double quote of `source` into `dest`, up to an
/// unescaped closing quote, the end, or `max` characters; a backslash before a quote
/// yields the quote. Returns the position in `source` where copying stopped.
size_t extract_quoted(std::string& dest, std::string_view source, size_t max);

/// The first blank-delimited word of `text` at or after `from`, as scanf's "%s" reads it;
/// `word_start` receives its position (text.size() when there is none).
std::string_view next_word(std::string_view text, size_t from, size_t* word_start = nullptr);

/// The first word of `parameters`, or, when it begins with a double quote, the quoted text
/// (at most `room` characters) that may hold blanks.
std::string word_or_quoted(std::string_view parameters, size_t room);
