#pragma once
// How file names separate their folders: "/" everywhere, and "\" as well on Windows.
#include <string>

#ifdef _WIN32
constexpr char PATH_SEPARATOR = '\\';
#else
constexpr char PATH_SEPARATOR = '/';
#endif

/// True for a character that ends a folder's name in a file name.
constexpr bool is_path_separator(char c) { return c == '/' || c == PATH_SEPARATOR; }

/// Adds the platform's separator to a folder's name that does not end in one.
inline void end_with_separator(std::string& folder) {
    if (!folder.empty() && !is_path_separator(folder.back())) folder += PATH_SEPARATOR;
}
