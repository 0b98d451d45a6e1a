#pragma once
// Writing a file so that it is either complete or not there at all: the text goes to a new
// temporary file beside the target, which is then put in the target's place in one step.
#include <cstdio>
#include <string>

/// False when `target` exists and must not be replaced: a folder, or a file without write permission.
bool replaceable_target(const std::string& target);

/// Creates a new, empty temporary file beside `target` and opens it for writing in text mode; it
/// gets the mode an existing target has. Null when it cannot be created.
std::FILE* create_file_beside(const std::string& target, std::string& temporary_name);

/// Puts the temporary file in the target's place in one step; false when that fails.
bool replace_file(const std::string& temporary_name, const std::string& target);
