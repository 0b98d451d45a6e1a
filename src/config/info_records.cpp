#include "config/info_records.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/numbers.h"
#include "common/text.h"
#include "config/command_context.h"

namespace {

constexpr size_t INFO_FIELD_ROOM = 127;
constexpr size_t INFO_FIELD_COUNT = 4;
constexpr size_t OVERRIDE_NAME_ROOM = 127;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Splits the -I parameters into at most four fields: blank-delimited words or quoted
// texts, a backslash before a quote making the quote an ordinary character.
std::vector<std::string> split_info_fields(std::string_view text) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (fields.size() < INFO_FIELD_COUNT) {
        while (i < text.size() && is_blank(text[i])) ++i;
        if (i >= text.size()) break;
        bool quoted = text[i] == '"';
        if (quoted) ++i;
        std::string field;
        while (i < text.size()) {
            char c = text[i];
            if (quoted ? c == '"' : is_blank(c)) break;
            if (c == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
                c = '"';
                ++i;
            }
            if (field.size() < INFO_FIELD_ROOM) field.push_back(c);
            ++i;
        }
        if (quoted && i < text.size()) ++i;  // the closing quote
        fields.push_back(std::move(field));
    }
    return fields;
}

std::vector<std::string> split_keys(std::string key_list) {
    if (!key_list.empty() && key_list[0] == '"') key_list.erase(0, 1);
    size_t quote = key_list.find('"');
    if (quote != std::string::npos) key_list.resize(quote);
    std::vector<std::string> keys;
    size_t i = 0;
    while (keys.size() < MAX_INFO_KEYS) {
        while (i < key_list.size() && (is_blank(key_list[i]) || key_list[i] == ',')) ++i;
        if (i >= key_list.size()) break;
        size_t end = i;
        while (end < key_list.size() && !is_blank(key_list[end]) && key_list[end] != ',') ++end;
        keys.push_back(key_list.substr(i, end - i));
        i = end;
    }
    return keys;
}

}  // namespace

int add_info_records(CommandReader& reader, const std::string& parameters, int line_number, const std::string& indent) {
    bool verbose = reader.settings.verbose != 0;
    std::vector<std::string> fields = split_info_fields(parameters);
    std::vector<std::string> keys;
    if (fields.size() >= 2) keys = split_keys(fields[0]);
    if (keys.empty()) {
        if (verbose)
            print_to(reader.console, "Rejected: -I %s", parameters.c_str());
        else
            print_to(reader.console, "\n  Line %2d: Rejected: -I %s", line_number, parameters.c_str());
        return 0;
    }

    const std::string& text = fields[1];
    int flag = 0;
    bool flag_given = fields.size() >= 3 && std::sscanf(fields[2].c_str(), "%d", &flag) == 1;
    double glue_dia = 0.0;
    bool glue_given = fields.size() >= 4 && std::sscanf(fields[3].c_str(), "%lf", &glue_dia) == 1 &&
                      usable_number(glue_dia);
    if (glue_given && reader.settings.units_mm != 0) glue_dia *= INCH_PER_MM;
    // The flag is one signed byte: 256 reads back as 0, 255 as -1.
    auto excluded = static_cast<std::int8_t>(static_cast<std::uint8_t>(flag & 0xff));

    InfoTable& info = reader.info;
    for (size_t k = 0; k < keys.size(); ++k) {
        int found = info.find(keys[k]);
        bool update = found >= 0;
        InfoRecord* record = nullptr;
        if (update) {
            record = &info.records[static_cast<size_t>(found)];
            if (!text.empty()) record->text = text;
            if (flag_given) record->excluded = excluded;
            if (glue_given) record->glue_dia = glue_dia;
        } else {
            record = &info.add(InfoRecord{keys[k], text, flag_given ? excluded : std::int8_t{0},
                                          glue_given ? glue_dia : -1.0});
        }
        if (verbose)
            print_to(reader.console, "%s%s%s Info: %s %s %d %.3lf %s", k == 0 ? "" : "\n", k == 0 ? "" : indent.c_str(),
                     update ? "Updated" : "Adding", record->key.c_str(), record->text.c_str(),
                     static_cast<int>(record->excluded), record->glue_dia, record->glue_dia < 0.0 ? "<sys>" : "");
    }
    return static_cast<int>(keys.size());
}

void read_override_line(CommandReader& reader, std::string_view line, const std::string& file_name, int line_number) {
    std::string text(line);
    std::string name;
    int flag = 0;
    double values[5] = {0.0, 0.0, 0.0, 0.0, 0.0};  // centroid x, y, glue x, y, diameter
    int count = 0;
    if (!text.empty() && text[0] == '"') {
        size_t stop = extract_quoted(name, text, OVERRIDE_NAME_ROOM);
        std::string rest = stop + 1 < text.size() ? text.substr(stop + 1) : std::string();
        int read = std::sscanf(rest.c_str(), "%d %lf %lf %lf %lf %lf", &flag, &values[0], &values[1], &values[2],
                               &values[3], &values[4]);
        count = (read > 0 ? read : 0) + 1;
    } else {
        std::vector<char> word(text.size() + 1);
        int read = std::sscanf(text.c_str(), "%s %d %lf %lf %lf %lf %lf", word.data(), &flag, &values[0], &values[1],
                               &values[2], &values[3], &values[4]);
        count = read > 0 ? read : 0;
        name = word.data();
    }
    // A number that is not usable ends the values as text that is no number would.
    for (int i = 0; i + 2 < count; ++i) {
        if (!usable_number(values[i])) {
            count = i + 2;
            break;
        }
    }

    if (count != 2 && count != 4 && count != 6 && count != 7) {
        print_to(reader.console, "\n  %s %2d: Invalid parameter count %s, record skipped", file_name.c_str(),
                 line_number, text.c_str());
        return;
    }
    if (reader.settings.units_mm != 0)
        for (double& value : values) value *= INCH_PER_MM;

    OverrideTable& overrides = reader.overrides;
    int index = overrides.find(name);
    bool verbose = reader.settings.verbose != 0;
    if (index < 0) {
        FootprintOverride added;
        added.name = name;
        index = overrides.add(std::move(added));
        if (verbose) print_to(reader.console, "\n  %s - %2d: Added:", file_name.c_str(), line_number);
    } else if (verbose) {
        print_to(reader.console, "\n  %s - %2d: Updated:", file_name.c_str(), line_number);
    }
    if (verbose) print_to(reader.console, " %s", text.c_str());

    FootprintOverride& record = overrides.records[static_cast<size_t>(index)];
    record.excluded = flag;
    record.centroid_x = count >= 4 ? values[0] : -10.0;
    record.centroid_y = count >= 4 ? values[1] : -10.0;
    if (count == 7 && values[4] == 0.0) {
        record.glue.clear();
    } else if ((count == 6 || count == 7) && record.glue.count < MAX_OVERRIDE_GLUE_SPOTS) {
        record.glue.add(values[2], values[3], count == 7 ? values[4] : -1.0);
    }
}
