#pragma once
#include <ostream>
#include <string>
#include <vector>

constexpr const char* DEFAULT_COMMAND_FILE = "Tarnwick.ini";

/// What the command line asks for.
struct Invocation {
    std::string command_file_name = DEFAULT_COMMAND_FILE;  // empty: read no command file
    std::string source_name;                               // empty: read the project from standard input
    std::string destination_name;
};

/// Reads the switches (those before the first other argument) and the two names.
/// `-I<name>` names the command file and must exist; other switches are reported and ignored.
Invocation parse_command_line(const std::vector<std::string>& arguments, std::ostream& console);
