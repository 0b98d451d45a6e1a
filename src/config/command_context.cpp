#include "config/command_context.h"

#include <cctype>

#include "common/text.h"

namespace {

bool is_scanf_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

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
    size_t start = from;
    while (start < text.size() && is_scanf_space(text[start])) ++start;
    size_t end = start;
    while (end < text.size() && !is_scanf_space(text[end])) ++end;
    if (word_start != nullptr) *word_start = start;
    return text.substr(start, end - start);
}

std::string word_or_quoted(std::string_view parameters, size_t room) {
    size_t start = 0;
    std::string_view word = next_word(parameters, 0, &start);
    if (word.empty() || word[0] != '"') return std::string(word);
    std::string quoted;
    extract_quoted(quoted, parameters.substr(start), room);
    return quoted;
}
