#include "config/command_context.h"

#include "common/lines.h"
#include "common/text.h"

std::string message_prefix(const CommandLine& line) {
    return format_text("\n  %s - %1d: ", line.file_name.c_str(), line.line_number);
}

size_t extract_quoted(std::string& dest, std::string_view source, size_t max) {
    dest.clear();
    size_t position = source.find('"');
    if (position == std::string_view::npos) return source.size();
    ++position;
    while (position < source.size() && dest.size() < max) {
        char c = source[position];
        if (c == '"') return position;
        if (c == '\\' && position + 1 < source.size() && source[position + 1] == '"') {
            dest.push_back('"');
            position += 2;
            continue;
        }
        dest.push_back(c);
        ++position;
    }
    return position;
}

std::string_view next_word(std::string_view text, size_t from, size_t* word_start) {
    size_t at = from;
    std::string_view word = take_word(text, at);
    if (word_start != nullptr) *word_start = at - word.size();
    return word;
}

std::string word_or_quoted(std::string_view parameters, size_t room) {
    size_t start = 0;
    std::string_view word = next_word(parameters, 0, &start);
    if (word.empty() || word[0] != '"') return std::string(word);
    std::string quoted;
    extract_quoted(quoted, parameters.substr(start), room);
    return quoted;
}
