#include "config/command_file.h"

#include <cctype>

#include "common/files.h"
#include "common/lines.h"
#include "common/text.h"
#include "config/commands.h"

namespace {

constexpr size_t QUOTED_NAME_ROOM = 127;

// Outcome of one line for the reading loop.
enum class LineEffect { CONTINUE, END_OF_FILE };

LineEffect include_file(CommandReader& reader, const CommandLine& line, int& lines_examined) {
    const Settings& settings = reader.settings;
    if (reader.include_depth >= MAX_INCLUDE_DEPTH) {
        if (settings.verbose != 0)
            print_to(reader.console, "\n  Include limit reached, %s - %1d: Ignored: %s ", line.file_name.c_str(),
                     line.line_number, line.text.c_str());
        return LineEffect::CONTINUE;
    }
    std::string include_name = word_or_quoted(line.parameters, QUOTED_NAME_ROOM);
    if (include_name.empty()) {
        if (settings.verbose != 0)
            print_to(reader.console, "%sMissing file name %s", message_prefix(line).c_str(), line.text.c_str());
        return LineEffect::CONTINUE;
    }
    std::string include_text;
    if (!read_text_file(include_name, include_text)) {
        if (settings.verbose != 0)
            print_to(reader.console, "%sUnable to open %s for input", message_prefix(line).c_str(),
                     include_name.c_str());
        return LineEffect::CONTINUE;
    }
    ++reader.include_depth;
    if (settings.verbose != 0)
        print_to(reader.console, "\n\n  %s - %1d: Including: %s %1d", line.file_name.c_str(), line.line_number,
                 include_name.c_str(), reader.include_depth);
    lines_examined += read_command_file(reader, include_text, include_name);
    --reader.include_depth;
    return LineEffect::CONTINUE;
}

LineEffect soft_end_of_file(CommandReader& reader, const CommandLine& line) {
    std::string word = word_or_quoted(line.parameters, QUOTED_NAME_ROOM);
    if (!word.empty())
        print_to(reader.console, "\n\n  %s - %1d: <EOF>: %s\n", line.file_name.c_str(), line.line_number, word.c_str());
    else if (reader.settings.verbose != 0 && reader.include_depth == 0)
        print_to(reader.console, "%sSoft EOF found", message_prefix(line).c_str());
    ++reader.valid_command_count;
    return LineEffect::END_OF_FILE;
}

void information_records(CommandReader& reader, const CommandLine& line) {
    std::string prefix = message_prefix(line);
    if (reader.settings.verbose != 0) reader.console << prefix;
    std::string indent(prefix.size() - 1, ' ');
    if (add_info_records(reader, line.parameters, line.line_number, indent) != 0) ++reader.valid_command_count;
}

LineEffect embedded_command(CommandReader& reader, const CommandLine& line, int& lines_examined) {
    char letter = line.text.size() > 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(line.text[1]))) : '\0';
    switch (letter) {
        case 'A': return include_file(reader, line, lines_examined);
        case 'E': return soft_end_of_file(reader, line);
        case 'I': information_records(reader, line); return LineEffect::CONTINUE;
        default: break;
    }
    if (letter == '\0' || !run_setting_command(reader, letter, line))
        print_to(reader.console, "%sBogus Command Ignored: %s", message_prefix(line).c_str(), line.text.c_str());
    return LineEffect::CONTINUE;
}

void print_summary(CommandReader& reader, int lines_examined) {
    if (!reader.settings.show_load_summary) {
        reader.console << "\n\n";
        return;
    }
    int info_count = reader.info.count();
    int override_count = reader.overrides.count();
    print_to(reader.console,
             "\n\n%4d lines examined\n%4d valid embedded commands found\n%4d info record%s loaded\n%4d exception%s "
             "loaded\n\n",
             lines_examined, reader.valid_command_count, info_count, info_count == 1 ? "" : "s", override_count,
             override_count == 1 ? "" : "s");
}

}  // namespace

int read_command_file(CommandReader& reader, std::string_view text, const std::string& name) {
    LineCursor cursor{text};
    int lines_examined = 0;
    int line_number = 0;
    while (!cursor.at_end()) {
        ++line_number;
        std::string_view raw = cursor.next_raw();
        raw = raw.substr(0, raw.find('\n'));
        raw = raw.substr(0, raw.find(';'));
        std::string line_text(raw);

        if (!line_text.empty() && line_text[0] == '-') {
            std::string parameters = line_text.size() > 2 ? line_text.substr(2) : std::string();
            CommandLine line{name, line_number, line_text, parameters};
            if (embedded_command(reader, line, lines_examined) == LineEffect::END_OF_FILE) break;
            continue;
        }
        std::string_view content = strip_leading_blanks(line_text);
        if (content.empty()) continue;
        read_override_line(reader, content, name, line_number);
    }

    lines_examined += line_number;
    if (reader.include_depth > 0) {
        if (reader.settings.verbose != 0)
            print_to(reader.console, "\n\n  Include file %s %1u done\n", name.c_str(),
                     static_cast<unsigned>(reader.include_depth));
    } else {
        print_summary(reader, lines_examined);
    }
    return lines_examined;
}
