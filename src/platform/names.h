#pragma once
// Names as the program holds them, bytes in the program's code page (UTF-8 on Windows, which the
// program's manifest selects; any bytes on POSIX), and as the file system and Windows take them.
#include <filesystem>
#include <string>

/// True when the system takes `name` unchanged: always on POSIX, where names are bytes; on
/// Windows when it is valid text in the program's code page (a name that is not would reach the
/// file system with stand-ins for its bad bytes, as the name of another file).
bool representable_name(const std::string& name);

/// The file system's path for `name` (`name` converted from the program's code page on Windows).
std::filesystem::path file_system_path(const std::string& name);

/// `path` as the program holds names: the inverse of file_system_path.
std::string name_of_path(const std::filesystem::path& path);

/// The position (from 1) of the first argument after the program's name that Windows changed on
/// its way to `main`, because the program's code page cannot hold what was typed (Windows then
/// passes a look-alike); 0 when every argument arrived as typed, always on POSIX.
int changed_argument(int argc, char** argv);
