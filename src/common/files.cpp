#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/memory.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for reading unless it is a directory; `size` receives the file's size.
File open_regular(const std::string& path, off_t& size) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return nullptr;
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 || S_ISDIR(status.st_mode)) return nullptr;
    size = status.st_size;
    return file;
}

}  // namespace

bool read_whole_file(const std::string& path, std::string& bytes) {
    off_t size = 0;
    File file = open_regular(path, size);
    if (!file) return false;
    // Read into room of the file's size in one go; files that grow or report no size
    // (devices, pipes) are read on in chunks.
    bytes.assign(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    size_t filled = std::fread(bytes.data(), 1, bytes.size(), file.get());
    bytes.resize(filled);
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, read);
    return std::ferror(file.get()) == 0;
}

bool readable_file(const std::string& path) {
    off_t size = 0;
    return open_regular(path, size) != nullptr;
}

std::string read_whole_stream(std::istream& in) {
    std::string bytes;
    try {
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
            bytes.append(buffer, static_cast<size_t>(in.gcount()));
    } catch (const std::ios_base::failure&) {
        // A pipe or terminal that fails delivers what it had.
    }
    return bytes;
}

LargeFileBytes::LargeFileBytes(size_t room) : data_(static_cast<char*>(allocate_large(room))), room_(room) {}

LargeFileBytes::~LargeFileBytes() { free_large(data_, room_); }

std::shared_ptr<LargeFileBytes> read_large_file(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < static_cast<off_t>(LARGE_BLOCK))
        return nullptr;
    // One byte of room more than the file's size shows whether the file grew while it was read.
    size_t room = static_cast<size_t>(status.st_size) + 1;
    auto bytes = std::make_shared<LargeFileBytes>(room);
    size_t filled = 0;
    while (filled < room) {
        ssize_t got = ::read(descriptor, bytes->data() + filled, room - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return nullptr;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    if (filled == room) return nullptr;
    bytes->set_size(filled);
    return bytes;
}
