#pragma once
// Reading whole input files. A name that leads to a directory, or a file that fails while it
// is read, counts as a file that cannot be opened: reading a directory as text must never end
// the program.
#include <istream>
#include <string>

/// Stops the run (FatalError) when the system cannot take `name` unchanged (on Windows, a name that
/// is not UTF-8 text), rather than open a file of another name: never on POSIX.
void refuse_unrepresentable_name(const std::string& name);

/// Reads the whole regular file at `path` into `text`, a carriage return before a line feed
/// dropped; false when it cannot be opened or read. Refuses a name the system would change.
bool read_text_file(const std::string& path, std::string& text);

/// True when `path` names a file that read_text_file can open. Refuses a name the system would change.
bool readable_file(const std::string& path);

/// Everything the stream delivers, a carriage return before a line feed dropped; a read error
/// ends the text where it happened.
std::string read_text_stream(std::istream& in);
