#pragma once
// Reading whole input files. A name that leads to a directory, or a file that
// fails while it is read, counts as a file that cannot be opened: reading a
// directory as text must never end the program.
#include <istream>
#include <string>

/// Reads the whole regular file at `path` into `bytes`; false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::string& bytes);

/// True when `path` names a file that read_whole_file can open.
bool readable_file(const std::string& path);

/// Everything the stream delivers; a read error ends the text where it happened.
std::string read_whole_stream(std::istream& in);
