#include "platform/program_path.h"

#include <filesystem>
#include <system_error>

std::optional<std::string> program_path() {
    std::error_code failed;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) return std::nullopt;
    return path.string();
}
