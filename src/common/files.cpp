#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/memory.h"
#include "common/second_thread.h"

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

namespace {

// Reads `count` bytes at `offset` into `into`; the number of bytes read, short at the end
// of the file, or -1 on an error.
ssize_t read_at(int descriptor, char* into, size_t count, size_t offset) {
    size_t filled = 0;
    while (filled < count) {
        ssize_t got = ::pread(descriptor, into + filled, count - filled, static_cast<off_t>(offset + filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(filled);
}

// Files from this size on are read by two threads, each into its own half of the block.
// Reading a file into fresh memory is mostly the kernel clearing the pages before it
// copies the bytes in, and on a virtual machine whose host has to supply those pages
// that costs about a millisecond per megabyte; two threads clear and fill side by side.
constexpr size_t PARALLEL_READ_BYTES = size_t{8} << 20;

// Reads the file's `size` bytes into `data`; false when the file is shorter or fails.
bool read_all(int descriptor, char* data, size_t size) {
    if (size < PARALLEL_READ_BYTES) return read_at(descriptor, data, size, 0) == static_cast<ssize_t>(size);
    const size_t split = size / 2 / HUGE_PAGE * HUGE_PAGE;
    ssize_t first_half = 0, second_half = 0;
    run_beside([&] { second_half = read_at(descriptor, data + split, size - split, split); },
               [&] { first_half = read_at(descriptor, data, split, 0); });
    return first_half == static_cast<ssize_t>(split) && second_half == static_cast<ssize_t>(size - split);
}

}  // namespace

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
    // The file is read as fstat sized it; one byte more shows whether it grew meanwhile. A
    // file that changes its size while it is read is read again in the plain way.
    size_t size = static_cast<size_t>(status.st_size);
    auto bytes = std::make_shared<LargeFileBytes>(size + 1);
    if (!read_all(descriptor, bytes->data(), size) || read_at(descriptor, bytes->data() + size, 1, size) != 0)
        return nullptr;
    bytes->set_size(size);
    return bytes;
}
