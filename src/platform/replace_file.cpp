#include "platform/replace_file.h"

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <random>

namespace {

// A C file over the handle, in text mode: every line ends with CR LF, as text files do here. Null,
// and the handle closed, when it cannot be made.
std::FILE* text_file_over(HANDLE handle) {
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_TEXT | _O_WRONLY);
    std::FILE* file = descriptor >= 0 ? _fdopen(descriptor, "w") : nullptr;
    if (file == nullptr) {
        if (descriptor >= 0)
            _close(descriptor);
        else
            CloseHandle(handle);
    }
    return file;
}

}  // namespace

InPlaceTarget open_in_place(const std::string& target) {
    // Only a file on a disk can be replaced; a device (NUL, CON, COM1) or a pipe is written as it is.
    HANDLE handle = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    if (GetFileType(handle) == FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {};
    }
    return {true, text_file_over(handle)};
}

bool replaceable_target(const std::string& target) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

std::FILE* create_file_beside(const std::string& target, std::string& temporary_name) {
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = target + ".tmp";
        for (int i = 0; i < 6; ++i) name += LETTERS[random() % (sizeof LETTERS - 1)];
        // Shared for deletion, so that an interrupted run can remove the file while it is open.
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return nullptr;
        }
        std::FILE* file = text_file_over(handle);
        if (file == nullptr) {
            DeleteFileA(name.c_str());
            return nullptr;
        }
        temporary_name = name;
        return file;
    }
    return nullptr;
}

bool replace_file(const std::string& temporary_name, const std::string& target) {
    return MoveFileExA(temporary_name.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

#else

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

InPlaceTarget open_in_place(const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0 || S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)) return {};
    // No O_CREAT: should the target vanish meanwhile, no regular file is made in its place.
    int descriptor = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    std::FILE* file = descriptor >= 0 ? ::fdopen(descriptor, "w") : nullptr;
    if (file == nullptr && descriptor >= 0) ::close(descriptor);
    return {true, file};
}

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

#endif
