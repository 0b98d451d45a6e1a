#include "platform/program_path.h"

#ifdef _WIN32

#include <windows.h>

std::optional<std::string> program_path() {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::nullopt;
    return std::string(path, length);
}

#else

#include <filesystem>
#include <system_error>

std::optional<std::string> program_path() {
    std::error_code failed;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) return std::nullopt;
    return path.string();
}

#endif
