#include "driver/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "common/fatal.h"
#include "common/files.h"
#include "common/text.h"

namespace {

bool is_switch(const std::string& argument) { return !argument.empty() && argument[0] == '-'; }

// What a long switch takes after "=".
enum class SwitchValue { NONE, OPTIONAL, REQUIRED };

// A long switch: written exactly so, in lower case, with its value (if any) after "=".
struct LongSwitch {
    const char* name;
    SwitchValue value;
    bool Invocation::*flag;           // set when the switch is given; null when it has none
    std::string Invocation::*text;    // takes the value; null when the switch takes none
};

// Every long switch the program knows; the parser reads this table and nothing else, and an
// unknown one is measured against it. --help and --version are answered before the parse.
constexpr LongSwitch LONG_SWITCHES[] = {
    {"--help", SwitchValue::NONE, nullptr, nullptr},
    {"--version", SwitchValue::NONE, nullptr, nullptr},
    {"--check", SwitchValue::NONE, &Invocation::check, nullptr},
    {"--findings", SwitchValue::REQUIRED, nullptr, &Invocation::findings_name},
    {"--fixes", SwitchValue::REQUIRED, nullptr, &Invocation::fixes_name},
    {"--review", SwitchValue::OPTIONAL, &Invocation::review, &Invocation::review_name},
    {"--review-encoding", SwitchValue::REQUIRED, nullptr, &Invocation::review_encoding},
    {"--bom", SwitchValue::OPTIONAL, &Invocation::bom, &Invocation::bom_name},
    {"--cpl", SwitchValue::OPTIONAL, &Invocation::cpl, &Invocation::cpl_name},
    {"--origin", SwitchValue::REQUIRED, nullptr, &Invocation::origin_text},
};

bool is_long_switch(const std::string& argument) { return argument.starts_with("--"); }

// The table's entry that `argument` is written as, or null.
const LongSwitch* known_long_switch(const std::string& argument) {
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const bool has_value = equals != std::string::npos && equals + 1 < argument.size();
    for (const LongSwitch& known : LONG_SWITCHES) {
        if (name != known.name) continue;
        if (equals == std::string::npos) return known.value == SwitchValue::REQUIRED ? nullptr : &known;
        return has_value && known.value != SwitchValue::NONE ? &known : nullptr;
    }
    return nullptr;
}

// The number of single-character insertions, deletions and substitutions that turn `a` into `b`,
// letter case aside (so that "--CHECK" is nearest to "--check").
size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (fold_case(a[i - 1]) == fold_case(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known long switch nearest to what was typed before any "="; the first of equals.
const char* nearest_long_switch(const std::string& argument) {
    const std::string name = argument.substr(0, argument.find('='));
    const char* nearest = nullptr;
    size_t nearest_distance = SIZE_MAX;
    for (const LongSwitch& known : LONG_SWITCHES) {
        const size_t distance = edit_distance(name, known.name);
        if (distance < nearest_distance) {
            nearest = known.name;
            nearest_distance = distance;
        }
    }
    return nearest;
}

// A long switch misspelt would silently run without what it asks for: the run stops before
// anything is read.
void refuse_unknown_long_switches(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size() && is_switch(arguments[i]); ++i) {
        const std::string& argument = arguments[i];
        if (is_long_switch(argument) && known_long_switch(argument) == nullptr)
            throw FatalError(format_text("\n\nFatal error: Unknown switch \"%s\" (did you mean \"%s\"?)\n\n",
                                         argument.c_str(), nearest_long_switch(argument)));
    }
}

void take_long_switch(const LongSwitch& known, const std::string& argument, Invocation& invocation) {
    if (known.flag != nullptr) invocation.*known.flag = true;
    const size_t equals = argument.find('=');
    if (known.text != nullptr) invocation.*known.text = equals != std::string::npos ? argument.substr(equals + 1) : "";
}

bool is_bare_command_file_switch(const std::string& argument) {
    return argument == "-I" || argument == "-i";
}

bool ends_with_ini(const std::string& name) {
    return name.size() > 4 && compare_ignoring_case(std::string_view(name).substr(name.size() - 4), ".ini") == 0;
}

}  // namespace

Request requested_action(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size() && is_switch(arguments[i]); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h" || argument == "-H") return Request::HELP;
        if (argument == "--version") return Request::VERSION;
    }
    return Request::RUN;
}

Invocation parse_command_line(const std::vector<std::string>& arguments, std::ostream& console) {
    refuse_unknown_long_switches(arguments);
    Invocation invocation;
    size_t next = 0;
    for (; next < arguments.size() && is_switch(arguments[next]); ++next) {
        const std::string& argument = arguments[next];
        if (is_long_switch(argument)) {
            take_long_switch(*known_long_switch(argument), argument, invocation);
            continue;
        }
        char letter =
            argument.size() > 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(argument[1]))) : '\0';
        if (letter != 'I') {
            print_to(console, "\n\nUnknown switch \"%s\" ignored.\n\n", argument.c_str());
            continue;
        }
        invocation.command_file_name = argument.substr(2);
        if (!invocation.command_file_name.empty() && !readable_file(invocation.command_file_name))
            throw FatalError(
                format_text("\n\nFatal Error: INI file \"%s\" not found.\n\n", invocation.command_file_name.c_str()));
    }
    if (!invocation.review_encoding.empty()) {
        invocation.review_code_page = find_code_page(invocation.review_encoding);
        if (invocation.review_code_page == nullptr)
            throw FatalError(format_text("\n\nFatal error: unknown encoding \"%s\" for the review page; known: %s\n\n",
                                         invocation.review_encoding.c_str(), code_page_names().c_str()));
    }
    if (!invocation.origin_text.empty() && !parse_origin(invocation.origin_text, invocation.origin))
        throw FatalError(format_text("\n\nFatal error: \"--origin=%s\": the origin is file, board or X,Y (two "
                                     "numbers in the report's units)\n\n",
                                     invocation.origin_text.c_str()));
    if (next < arguments.size()) {
        invocation.source_name = arguments[next];
        // "-I panel.ini board": the blank made -I read no command file and panel.ini the project.
        if (next > 0 && is_bare_command_file_switch(arguments[next - 1]) && ends_with_ini(invocation.source_name))
            print_to(console,
                     "\n\nWarning: \"%s\" after a bare -I is taken as the source name (a command file's name goes "
                     "straight after -I: -I%s).\n\n",
                     invocation.source_name.c_str(), invocation.source_name.c_str());
        ++next;
    }
    if (next < arguments.size()) {
        invocation.destination_name = arguments[next++];
        if (is_switch(invocation.destination_name))
            print_to(console,
                     "\n\nWarning: \"%s\" after the source name is taken as the destination name (switches go "
                     "before the names).\n\n",
                     invocation.destination_name.c_str());
    }
    for (; next < arguments.size(); ++next)
        print_to(console, "\n\nWarning: argument \"%s\" ignored (only a source and a destination name are taken).\n\n",
                 arguments[next].c_str());
    return invocation;
}

void print_usage(std::ostream& out) {
    out << "Usage: Tarnwick [-I<command file>] [--check] [--findings=FILE] [--fixes=FILE]\n"
           "                [--review[=FILE]] [--review-encoding=NAME] [--bom[=FILE]]\n"
           "                [--cpl[=FILE]] [--origin=file|board|X,Y] [source [destination]]\n"
           "       Tarnwick --help | --version\n"
           "\n"
           "Writes the component placement report of a layout project (.lpf) and, when\n"
           "the command file asks for them, the verification plots TopPlace.gbr and\n"
           "BottomPlace.gbr.\n"
           "\n"
           "  source           the project file; a file name without \".\" gets \".lpf\"\n"
           "  destination      the report; by default the source's name with \".place\",\n"
           "                   beside it; a file name without \".\" gets \".place\"; a\n"
           "                   folder (or a name ending in \"/\") receives the report\n"
           "                   under the source's report name\n"
           "  -I<file>         read this command file instead of Tarnwick.ini; -I alone\n"
           "                   reads none\n"
           "  --check          after the report, check the placement: errors to mend\n"
           "                   before production (exit status 2) and notes worth a look,\n"
           "                   one entry per cause with its parts and the command-file\n"
           "                   line that mends it\n"
           "  --findings=FILE  write the check's findings as CSV, one row per part\n"
           "  --fixes=FILE     write the check's suggested lines, to include at the end\n"
           "                   of the command file (-A FILE)\n"
           "  --review[=FILE]  write a review page: one HTML file that draws the board\n"
           "                   with its pads, parts, placement points, glue spots and\n"
           "                   the check's findings, with a table of the parts; by\n"
           "                   default named after the report (board.review.html beside\n"
           "                   board.place; review.html when the report goes to\n"
           "                   standard output)\n"
           "  --review-encoding=NAME\n"
           "                   the code page of the texts on the review page:\n"
           "                   windows-1250, windows-1251, windows-1252, iso-8859-1,\n"
           "                   iso-8859-2, iso-8859-5, koi8-r, cp866 or cp437; by\n"
           "                   default UTF-8 when the texts are valid UTF-8, else\n"
           "                   windows-1252 (the report keeps its bytes)\n"
           "  --bom[=FILE]     write the bill of materials for an assembly service: CSV,\n"
           "                   one row per value and footprint (board.bom.csv by default)\n"
           "  --cpl[=FILE]     write the placement list for an assembly service: CSV,\n"
           "                   one row per placed part in millimetres (board.cpl.csv by\n"
           "                   default)\n"
           "  --origin=file|board|X,Y\n"
           "                   the placement list's origin: the project's (the default),\n"
           "                   the lower-left corner of the board outline, or X,Y in the\n"
           "                   report's units\n"
           "  -h, -H, --help   print this text\n"
           "  --version        print the program's name and version\n"
           "\n"
           "Switches go before the names; a long switch not listed here stops the run.\n"
           "With no names on the command line, the command file's -N names are used;\n"
           "with none there, the project is read from standard input (a pipe or a file)\n"
           "and the report written to standard output. Progress and messages go to\n"
           "standard error.\n"
           "\n"
           "The command file is the -I file, else Tarnwick.ini in the working folder\n"
           "(optional). The stroke font for the plots is the command file's -P file;\n"
           "else font.xml in the folder that the environment variable VexlorFont names,\n"
           "or in the working folder; else the font installed with the program\n"
           "(share/tarnwick/font.xml).\n"
           "\n"
           "Outputs are written completely or not at all: each goes to a temporary file\n"
           "beside it and replaces the earlier file only when it is complete (a named\n"
           "pipe or a device is written where it is). Exit status: 0 done, 1 a fatal\n"
           "error (the message says which), 2 done and the placement check found an\n"
           "error.\n"
           "\n"
           "The manual: man Tarnwick\n";
}
