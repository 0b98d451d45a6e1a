#pragma once
// Runs command-file text through the reader and keeps what it filled and printed.
#include <sstream>
#include <string>

#include "common/files.h"
#include "config/command_file.h"

struct CommandFileRun {
    Settings settings;
    InfoTable info;
    OverrideTable overrides;
    std::ostringstream console;
    int valid_commands = 0;
    int lines = 0;

    /// Reads `text` as the top-level file `name`; the final "\n\n" or summary is part of the output.
    CommandFileRun& read(const std::string& text, const std::string& name = "t.ini") {
        std::istringstream in(text);
        CommandReader reader{settings, info, overrides, console};
        reader.valid_command_count = valid_commands;
        lines = read_command_file(reader, read_text_stream(in), name);
        valid_commands = reader.valid_command_count;
        return *this;
    }
    /// The console output without the closing "\n\n" of a quiet top-level file.
    std::string messages() const {
        std::string text = console.str();
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\n\n") == 0) text.resize(text.size() - 2);
        return text;
    }
};

/// Reads `text` with verbose output turned on first by a "-V 1" line (whose message is left out).
inline std::string verbose_messages(const std::string& text, CommandFileRun* keep = nullptr) {
    CommandFileRun local;
    CommandFileRun& run = keep != nullptr ? *keep : local;
    run.read("-V 1\n" + text);
    std::string out = run.console.str();
    const std::string first = "\n  t.ini - 1: Verbose output enabled";
    if (out.rfind(first, 0) == 0) out.erase(0, first.size());
    size_t summary = out.rfind("\n\n", out.find(" lines examined"));
    if (summary != std::string::npos) out.resize(summary);
    return out;
}
