#pragma once
#include <cstdio>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

constexpr double PROGRAM_VERSION = 1.41;
constexpr char VERSION_LETTER = 'R';

/// The outside world one run talks to.
struct RunEnvironment {
    std::istream& standard_input;
    bool input_is_terminal;      // standard input is an interactive terminal
    std::FILE* standard_output;  // the report when none is named; also --help and --version
    std::ostream& console;
    std::optional<std::string> font_directory;  // the font directory variable, when set
    std::optional<std::string> program_path;    // the executable, to find the installed font
    std::string time_text;                      // local time for the plot headers
};

/// One whole run for the arguments after the program name; returns the exit status: 0, or 2
/// when --check found something. A fatal condition throws FatalError with its message.
int run(const std::vector<std::string>& arguments, RunEnvironment& environment);
