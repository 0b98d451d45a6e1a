#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

bool replaceable_target(const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) return true;
    // A file without any write permission is refused even for a user whose rights would override it.
    if (S_ISDIR(status.st_mode) || (status.st_mode & 0222) == 0) return false;
    int descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    ::close(descriptor);
    return true;
}

std::FILE* create_file_beside(const std::string& target, std::string& temporary_name) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) mode = status.st_mode & 07777;

    std::string pattern = target + ".tmpXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) return nullptr;
    ::fchmod(descriptor, mode);
    std::FILE* file = ::fdopen(descriptor, "w");
    if (file == nullptr) {
        ::close(descriptor);
        ::unlink(name.data());
        return nullptr;
    }
    temporary_name = name.data();
    return file;
}

bool replace_file(const std::string& temporary_name, const std::string& target) {
    return std::rename(temporary_name.c_str(), target.c_str()) == 0;
}
