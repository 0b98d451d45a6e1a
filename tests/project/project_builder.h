#pragma once
// Builds project files in the layout editor's format for the reader tests.
#include <sstream>
#include <string>

#include "common/fatal.h"
#include "common/files.h"
#include "config/settings.h"
#include "project/load_context.h"
#include "project/load_project.h"

/// Footprint block text: name, units line, body lines (centroid, adhesive, sel_rect,
/// n_pins and pins), closed by an empty line.
inline std::string footprint_block(const std::string& name, const std::string& units, const std::string& body) {
    return "name: \"" + name + "\"\nunits: " + units + "\n" + body + "\n";
}

/// A two-pin SMD footprint in mils with the given centroid and adhesive lines.
inline std::string smd_footprint(const std::string& name, const std::string& extra = "centroid: 0 0 0 0\n") {
    return footprint_block(name, "MIL",
                           extra +
                               "sel_rect: -50 -25 50 25\nn_pins: 2\npin: 1 0 -30 0 0\ntop_pad: 2 30 35 0 0 0\n"
                               "pin: 2 0 30 0 0\ntop_pad: 2 30 35 0 0 0\n");
}

/// A part block; x and y in nanometres.
inline std::string part_block(const std::string& ref_des, const std::string& shape, long long x, long long y,
                              int side, int angle, int flag = 0, const std::string& value = "1k") {
    std::ostringstream block;
    block << "part: " << ref_des << "\nshape: \"" << shape << "\"\nvalue: \"" << value << "\"\npos: " << x << " " << y
          << " " << side << " " << angle << " " << flag << "\n\n";
    return block.str();
}

inline std::string project_file(const std::string& footprints, const std::string& parts,
                                const std::string& header = "project_name: \"Test Board\"\n") {
    return header + "[footprints]\n" + footprints + "[board]\n[parts]\n" + parts + "[nets]\n[end]\n";
}

/// Loads `file` with these settings and overrides, the footprints' copper too when `read_copper`
/// is set; console output goes to `console`.
inline Project load(const std::string& file, const Settings& settings, const OverrideTable& overrides,
                    std::ostream& console, bool read_copper = false) {
    // Read as the program reads standard input, line ends and all.
    std::istringstream in(file);
    Project project;
    load_project(read_text_stream(in), LoadContext{settings, overrides, console, read_copper}, project);
    return project;
}

/// Loads `file` with the default settings and the footprints' copper, as --check reads it.
inline Project load_with_copper(const std::string& file) {
    std::ostringstream console;
    return load(file, Settings{}, OverrideTable{}, console, true);
}

inline Project load(const std::string& file, const Settings& settings = Settings{}) {
    std::ostringstream console;
    return load(file, settings, OverrideTable{}, console);
}

/// The message of the fatal error that loading `file` raises, or "no error".
inline std::string fatal_message(const std::string& file) {
    try {
        load(file);
    } catch (const FatalError& error) {
        return error.what();
    }
    return "no error";
}
