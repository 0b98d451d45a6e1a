#pragma once
// How file names separate their folders: "/" everywhere, and "\" as well on Windows.

#ifdef _WIN32
constexpr char PATH_SEPARATOR = '\\';
#else
constexpr char PATH_SEPARATOR = '/';
#endif

/// True for a character that ends a folder's name in a file name.
constexpr bool is_path_separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}
