#include "config/commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/text.h"
#include "common/numbers.h"

namespace {

constexpr size_t INFO_HEADING_ROOM = 16;
constexpr size_t FILE_NAME_ROOM = 127;
constexpr size_t FONT_FILE_ROOM = 128;
constexpr size_t COLUMN_HEADING_ROOM = 128;
// No line of the command file is longer, so no sensible column is wider; a wider one would
// make every report row gigabytes long.
constexpr int MAX_COLUMN_WIDTH = 1023;

// Context of one command: the reader and the line.
struct Command {
    CommandReader& reader;
    const CommandLine& line;

    Settings& settings() const { return reader.settings; }
    bool verbose() const { return reader.settings.verbose != 0; }
    const char* params() const { return line.parameters.c_str(); }

    // A message with the line prefix, printed only in verbose mode.
    void say(const char* text) const {
        if (verbose()) say_always(text);
    }
    void say_always(const char* text) const { reader.console << message_prefix(line) << text; }
    // "Ignored" with the line: in verbose mode only, or always.
    void ignored(const char* separator) const { say(ignored_text(separator).c_str()); }
    void ignored_always(const char* separator) const { say_always(ignored_text(separator).c_str()); }
    std::string ignored_text(const char* separator) const {
        return format_text("Ignored%s%s", separator, line.text.c_str());
    }
    void count() const { ++reader.valid_command_count; }
    double length(double value) const { return settings().units_mm != 0 ? value * INCH_PER_MM : value; }
};

// Number of leading values that are usable: "nan", "inf" and absurd magnitudes are refused like
// text that is no number.
int finite_count(int scanned, std::initializer_list<double> values) {
    int index = 0;
    for (double value : values) {
        if (index >= scanned) break;
        if (!usable_number(value)) return index;
        ++index;
    }
    return scanned;
}

void check_gerbers(const Command& command) {
    Settings& settings = command.settings();
    int mode = 0;
    double legend_x = 0.0, legend_y = 0.0;
    int read = std::sscanf(command.params(), "%d %lf %lf", &mode, &legend_x, &legend_y);
    if (read >= 2) read = 1 + finite_count(read - 1, {legend_x, legend_y});
    if (read < 1) {
        command.ignored(": ");
        return;
    }
    settings.check_gerbers = mode;
    if (read == 3) {
        settings.icon_legend_x = command.length(legend_x);
        settings.icon_legend_y = command.length(legend_y);
    }
    std::string text = format_text("Check Gerbers %s ", mode != 0 ? "enabled" : "disabled");
    if (mode != 0)
        text += format_text("(%s layer), Icon Legend @ %4lf, %4lf", mode == 1 ? "Multi" : "Single",
                            settings.icon_legend_x, settings.icon_legend_y);
    command.say(text.c_str());
    command.count();
}

void default_glue_spot(const Command& command) {
    double size = 0.0;
    int read = std::sscanf(command.params(), "%lf", &size);
    if (finite_count(read, {size}) != 1) {
        command.ignored(": ");
        return;
    }
    command.settings().default_glue_spot_size = command.length(size);
    command.say(format_text("Default Glue Spot Size changed to %.4lf", size).c_str());
    command.count();
}

void output_format(const Command& command) {
    Settings& settings = command.settings();
    int format = 0;
    std::vector<char> word(command.line.parameters.size() + 1);
    int read = std::sscanf(command.params(), "%d %s", &format, word.data());
    if (read < 1 || format >= 5) {
        command.ignored(": ");
        return;
    }
    if (format < 0) format = -1;
    settings.output_format = format;
    if (format == 3 || format == 4) {
        settings.user_columns = {};
        settings.user_column_count = 0;
    }
    if (format >= 0 && format <= 2 && read == 2) {
        std::string heading;
        if (word[0] == '"')
            extract_quoted(heading, command.line.parameters, INFO_HEADING_ROOM);
        else
            heading = word.data();
        if (heading.size() > INFO_HEADING_ROOM) heading.resize(INFO_HEADING_ROOM);
        settings.info_heading = heading;
    }
    std::string text = format_text("Output Format changed to %d  ", format);
    if (format == -1) text += "Place Listing OFF";
    if (format >= 0 && format <= 2) text += format_text("Info Hdr: %s", settings.info_heading.c_str());
    command.say(text.c_str());
    command.count();
}

void glue_technologies(const Command& command) {
    Settings& settings = command.settings();
    int flags[4] = {0, 0, 0, 0};
    int read = std::sscanf(command.params(), "%d %d %d %d", &flags[0], &flags[1], &flags[2], &flags[3]);
    if (read == 0) {
        command.ignored_always(" --> ");
        return;
    }
    if (read > 0) {
        // Each class takes the flag at its position, or the last flag given.
        int bits = 0;
        for (int technology = 0; technology < 4; ++technology) {
            int flag = flags[technology < read ? technology : read - 1];
            if (flag != 0) bits |= 1 << technology;
        }
        settings.glue_technologies = bits;
    }
    auto yes_no = [&](int bit) { return (settings.glue_technologies >> bit & 1) != 0 ? 'Y' : 'N'; };
    command.say(
        format_text("Glue: SMD=%c Thru-Hole=%c Mixed=%c Null=%c", yes_no(0), yes_no(1), yes_no(2), yes_no(3)).c_str());
    command.count();
}

void user_column(const Command& command) {
    Settings& settings = command.settings();
    int type = 0, width = 0;
    std::vector<char> word(command.line.parameters.size() + 1);
    int read = std::sscanf(command.params(), "%d %d %s", &type, &width, word.data());
    if (read < 1 || type < 0 || type >= COLUMN_TYPE_COUNT || settings.user_column_count >= MAX_USER_COLUMNS ||
        (read >= 2 && width > MAX_COLUMN_WIDTH)) {
        command.say(format_text("\"%s\" ignored.", command.line.text.c_str()).c_str());
        return;
    }
    const ColumnType& catalogue = column_types[static_cast<size_t>(type)];
    UserColumn& column = settings.user_columns[static_cast<size_t>(settings.user_column_count)];
    column.type = type;
    column.heading = catalogue.heading;
    column.width = catalogue.width;
    if (read >= 2) column.width = std::max(width, catalogue.width);
    if (read == 3) {
        if (word[0] == '"')
            extract_quoted(column.heading, command.line.parameters, COLUMN_HEADING_ROOM);
        else
            column.heading = word.data();
        column.width = std::max(column.width, static_cast<int>(column.heading.size()));
    }
    ++settings.user_column_count;
    command.say(format_text("User defined column %u hdg = \"%s\", type %u, %u wide.",
                            static_cast<unsigned>(settings.user_column_count), column.heading.c_str(),
                            static_cast<unsigned>(column.type), static_cast<unsigned>(column.width))
                    .c_str());
    command.count();
}

void mechanical_parts(const Command& command) {
    Settings& settings = command.settings();
    int value = 0;
    int read = std::sscanf(command.params(), "%d", &value);
    if (read == 0) {
        command.ignored_always(": ");
        return;
    }
    if (read == 1) {
        settings.mechanical_normal = value;
        command.count();
    }
    command.say(format_text("Mechanical parts are %s", settings.mechanical_normal != 0 ? "Normal" : "Null").c_str());
}

void default_names(const Command& command) {
    Settings& settings = command.settings();
    std::string_view parameters = command.line.parameters;
    size_t start = 0;
    std::string_view first = next_word(parameters, 0, &start);
    if (first.empty()) {
        command.ignored(" --> ");
        return;
    }
    std::string source_name, destination_name;
    size_t after_first = 0;
    if (first[0] == '"') {
        after_first = start + extract_quoted(source_name, parameters.substr(start), FILE_NAME_ROOM) + 1;
    } else {
        source_name = std::string(first);
        after_first = start + first.size();
    }
    if (after_first < parameters.size()) {
        std::string_view rest = parameters.substr(after_first);
        size_t second_start = 0;
        std::string_view second = next_word(rest, 0, &second_start);
        if (!second.empty() && second[0] == '"')
            extract_quoted(destination_name, rest.substr(second_start), FILE_NAME_ROOM);
        else
            destination_name = std::string(second);
    }
    settings.default_source_name = source_name;
    settings.default_destination_name = destination_name;
    if (command.verbose())
        print_to(command.reader.console, "\n  %s - %1u: file names \"%s\" and \"%s\" loaded",
                 command.line.file_name.c_str(), static_cast<unsigned>(command.line.line_number), source_name.c_str(),
                 destination_name.c_str());
    command.count();
}

void font_file(const Command& command) {
    std::string name = word_or_quoted(command.line.parameters, FONT_FILE_ROOM);
    if (next_word(command.line.parameters, 0).empty()) {
        command.ignored(" --> ");
        return;
    }
    command.settings().font_file = name;
    command.say(format_text("Use %s for font data.", name.c_str()).c_str());
    command.count();
}

int sign_of(int value) { return (value > 0) - (value < 0); }

void rotation_rules(const Command& command) {
    Settings& settings = command.settings();
    std::string_view parameters = command.line.parameters;
    size_t start = parameters.find_first_not_of(' ');
    char first = start == std::string_view::npos ? '\0' : parameters[start];
    if (first >= '0' && first <= '9') {
        int direction = 0;
        if (std::sscanf(command.params(), "%d", &direction) != 1) {
            command.ignored(" --> ");
            return;
        }
        settings.top_ccw = settings.bottom_ccw = direction;
        settings.top_rotation_offset = settings.bottom_rotation_offset = 0;
        settings.top_centroid_factor = settings.bottom_centroid_factor = 0;
        command.say(format_text("Rotation set to %s", direction != 0 ? "CCW" : "CW").c_str());
        command.count();
        return;
    }
    char side = static_cast<char>(std::toupper(static_cast<unsigned char>(first)));
    if (side != 'T' && side != 'B') {
        command.ignored(" --> ");
        return;
    }
    size_t word_end = parameters.find(' ', start);
    std::string numbers = word_end == std::string_view::npos ? std::string() : std::string(parameters.substr(word_end));
    int direction = 0, offset = 0, factor = 0;
    if (std::sscanf(numbers.c_str(), "%d %d %d", &direction, &offset, &factor) < 1) {
        command.ignored(" --> ");
        return;
    }
    direction = direction != 0 ? 1 : 0;
    offset = offset / 90 * 90 % 360;
    factor = sign_of(factor);
    bool bottom = side == 'B';
    (bottom ? settings.bottom_ccw : settings.top_ccw) = direction;
    (bottom ? settings.bottom_rotation_offset : settings.top_rotation_offset) = offset;
    (bottom ? settings.bottom_centroid_factor : settings.top_centroid_factor) = factor;
    command.say(format_text("%s Rotation set to %s + %1d + %1d * CentroidAngle", bottom ? "Bottom" : "Top",
                            direction != 0 ? "CCW" : "CW", offset, factor)
                    .c_str());
    command.count();
}

void target_scale(const Command& command) {
    double scale = 0.0;
    int read = std::sscanf(command.params(), "%lf", &scale);
    if (finite_count(read, {scale}) != 1) {
        command.ignored(" --> ");
        return;
    }
    scale = std::clamp(scale, 0.01, 1.35);
    command.settings().target_scale = scale;
    command.say(format_text("Target Scale set to %.3lf", scale).c_str());
    command.count();
}

void input_units(const Command& command) {
    std::string_view word = next_word(command.line.parameters, 0);
    char first = word.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    if (first == 'I') {
        command.settings().units_mm = 0;
        command.say("Units set to Inch");
    } else if (first == 'M') {
        command.settings().units_mm = 1;
        command.say("Units set to MM");
    } else {
        command.ignored(" --> ");
    }
}

void verbose_output(const Command& command) {
    Settings& settings = command.settings();
    int value = 0;
    if (std::sscanf(command.params(), "%d", &value) != 1) {
        command.ignored_always(" --> ");
        return;
    }
    settings.verbose = value;
    if (value != 0) settings.show_load_summary = true;
    command.say_always(format_text("Verbose output %s", value != 0 ? "enabled" : "disabled").c_str());
    command.count();
}

}  // namespace

bool run_setting_command(CommandReader& reader, char letter, const CommandLine& line) {
    Command command{reader, line};
    switch (letter) {
        case 'C': check_gerbers(command); return true;
        case 'D': default_glue_spot(command); return true;
        case 'F': output_format(command); return true;
        case 'G': glue_technologies(command); return true;
        case 'H': user_column(command); return true;
        case 'M': mechanical_parts(command); return true;
        case 'N': default_names(command); return true;
        case 'P': font_file(command); return true;
        case 'R': rotation_rules(command); return true;
        case 'T': target_scale(command); return true;
        case 'U': input_units(command); return true;
        case 'V': verbose_output(command); return true;
        default: return false;
    }
}
