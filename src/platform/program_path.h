#pragma once
// Where the running program's executable lies.
#include <optional>
#include <string>

/// The full path of the running executable, when the system tells it.
std::optional<std::string> program_path();
