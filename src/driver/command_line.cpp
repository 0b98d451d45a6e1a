#include "driver/command_line.h"

#include <cctype>

#include "common/fatal.h"
#include "common/files.h"
#include "common/text.h"

namespace {

bool is_switch(const std::string& argument) { return !argument.empty() && argument[0] == '-'; }

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
    Invocation invocation;
    size_t next = 0;
    for (; next < arguments.size() && is_switch(arguments[next]); ++next) {
        const std::string& argument = arguments[next];
        // Long options are whole words: no letter case rule, no parameter glued on.
        if (argument == "--check") {
            invocation.check = true;
            continue;
        }
        if (argument == "--review" || (argument.starts_with("--review=") && argument.size() > 9)) {
            invocation.review = true;
            invocation.review_name = argument.size() > 9 ? argument.substr(9) : std::string();
            continue;
        }
        if (argument.starts_with("--findings=") && argument.size() > 11) {
            invocation.findings_name = argument.substr(11);
            continue;
        }
        if (argument.starts_with("--fixes=") && argument.size() > 8) {
            invocation.fixes_name = argument.substr(8);
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
    if (next < arguments.size()) invocation.source_name = arguments[next++];
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
           "                [--review[=FILE]] [source [destination]]\n"
           "       Tarnwick --help | --version\n"
           "\n"
           "Writes the component placement report of a layout project (.lpf) and, when the\n"
           "command file asks for them, the verification plots TopPlace.gbr and BottomPlace.gbr.\n"
           "\n"
           "  source         the project file; a file name without \".\" gets \".lpf\"\n"
           "  destination    the report; by default the source's name with \".place\", beside it;\n"
           "                 a file name without \".\" gets \".place\"; a folder (or a name ending\n"
           "                 in \"/\") receives the report under the source's report name\n"
           "  -I<file>       read this command file instead of Tarnwick.ini; -I alone reads none\n"
           "  --check        after the report, check the placement: errors to mend before\n"
           "                 production (exit status 2) and notes worth a look, one entry per\n"
           "                 cause with its parts and the command-file line that mends it\n"
           "  --findings=FILE  write the check's findings as CSV, one row per part\n"
           "  --fixes=FILE   write the check's suggested lines, to include at the end of the\n"
           "                 command file (-A FILE)\n"
           "  --review[=FILE]  write a review page: one HTML file that draws the board with its\n"
           "                 pads, parts, placement points, glue spots and the check's findings,\n"
           "                 with a table of the parts; by default named after the report\n"
           "                 (board.review.html beside board.place; review.html when the report\n"
           "                 goes to standard output)\n"
           "  -h, --help     print this text\n"
           "  --version      print the program's name and version\n"
           "\n"
           "Switches go before the names. With no names on the command line, the command file's -N\n"
           "names are used; with none there, the project is read from standard input (a pipe or a\n"
           "file) and the report written to standard output. Progress and messages go to standard\n"
           "error.\n"
           "\n"
           "The command file is the -I file, else Tarnwick.ini in the working folder (optional).\n"
           "The stroke font for the plots is the command file's -P file; else font.xml in the folder\n"
           "that the environment variable VexlorFont names, or in the working folder; else the\n"
           "font installed with the program (share/tarnwick/font.xml).\n"
           "\n"
           "Outputs are written completely or not at all: each goes to a temporary file beside it\n"
           "and replaces the earlier file only when it is complete. Exit status: 0 done, 1 a fatal\n"
           "error (the message says which), 2 done and the placement check found an error.\n"
           "\n"
           "The manual: man Tarnwick\n";
}
