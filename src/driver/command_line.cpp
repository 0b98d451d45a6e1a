#include "driver/command_line.h"

#include <cctype>

#include "common/fatal.h"
#include "common/files.h"
#include "common/format.h"

Invocation parse_command_line(const std::vector<std::string>& arguments, std::ostream& console) {
    Invocation invocation;
    size_t next = 0;
    for (; next < arguments.size() && !arguments[next].empty() && arguments[next][0] == '-'; ++next) {
        const std::string& argument = arguments[next];
        char letter = argument.size() > 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(argument[1]))) : '\0';
        if (letter != 'I') {
            print_to(console, "\n\nUnknown switch \"%s\" ignored.\n\n", argument.c_str());
            continue;
        }
        invocation.command_file_name = argument.substr(2);
        if (!invocation.command_file_name.empty() && !readable_file(invocation.command_file_name))
            throw FatalError(format_text("\n\nFatal Error: INI file \"%s\" not found.\n\n",
                                         invocation.command_file_name.c_str()));
    }
    if (next < arguments.size()) invocation.source_name = arguments[next++];
    if (next < arguments.size()) invocation.destination_name = arguments[next++];
    return invocation;
}
