#pragma once
#include "config/command_context.h"

/// Handles an embedded command whose letter (upper case) is one of C D F G H M N P R T
/// U V; returns false for any other letter.
bool run_setting_command(CommandReader& reader, char letter, const CommandLine& line);
