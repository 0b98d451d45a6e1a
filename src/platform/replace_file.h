#pragma once
// Writing a file so that it is either complete or not there at all: the text goes to a new
// temporary file beside the target, which is then put in the target's place in one step. A target
// that is no file to replace (a named pipe, a device) is written where it is instead.
#include <cstdio>
#include <string>

/// A target opened to be written where it is.
struct InPlaceTarget {
    bool in_place = false;        // the target exists and is neither a regular file nor a folder
    std::FILE* file = nullptr;  // open for writing in text mode; null when it could not be opened
};

/// Opens `target` for writing where it is, as standard output is, when it exists and is neither a
/// regular file nor a folder (a named pipe, a device, a socket, or a link to one): such a target
/// is never replaced. `in_place` is false for any other target, which is left untouched.
InPlaceTarget open_in_place(const std::string& target);

/// False when `target` exists and must not be replaced: a folder, or a file without write permission.
bool replaceable_target(const std::string& target);

/// Creates a new, empty temporary file beside `target` and opens it for writing in text mode; it
/// gets the mode an existing target has. Null when it cannot be created.
std::FILE* create_file_beside(const std::string& target, std::string& temporary_name);

/// Puts the temporary file in the target's place in one step; false when that fails.
bool replace_file(const std::string& temporary_name, const std::string& target);
