#pragma once
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
    std::ostream& standard_output;
    std::ostream& console;
    std::optional<std::string> font_directory;  // the font directory variable, when set
    std::string time_text;                      // local time for the plot headers
};

/// One whole run for the arguments after the program name; returns the exit status 0.
/// A fatal condition throws FatalError with its message.
int run(const std::vector<std::string>& arguments, RunEnvironment& environment);
