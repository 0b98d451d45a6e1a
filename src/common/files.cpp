#include "common/files.h"

#include <sys/stat.h>

#include <cstdio>
#include <iterator>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_regular(const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return nullptr;
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 || S_ISDIR(status.st_mode)) return nullptr;
    return file;
}

}  // namespace

bool read_whole_file(const std::string& path, std::string& bytes) {
    File file = open_regular(path);
    if (!file) return false;
    bytes.clear();
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, read);
    return std::ferror(file.get()) == 0;
}

bool readable_file(const std::string& path) { return open_regular(path) != nullptr; }

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
