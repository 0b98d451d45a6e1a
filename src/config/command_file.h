#pragma once
#include <string>
#include <string_view>

#include "config/command_context.h"

/// Most include files open at once below the top-level command file.
constexpr int MAX_INCLUDE_DEPTH = 8;

/// Reads one command file's `text` (as read_text_file or read_text_stream deliver it) to its end
/// or to a soft end of file, using `name` in messages; returns the lines examined here and in
/// every file included from here.
int read_command_file(CommandReader& reader, std::string_view text, const std::string& name);
