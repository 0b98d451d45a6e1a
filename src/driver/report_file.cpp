#include "driver/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace {

// An existing destination must be a file we may write: a directory or a file without any
// write permission is refused even for a user whose rights would override it.
bool existing_destination_writable(const std::string& destination, mode_t& mode) {
    struct stat status {};
    if (stat(destination.c_str(), &status) != 0) return true;
    if (S_ISDIR(status.st_mode) || (status.st_mode & 0222) == 0) return false;
    int descriptor = ::open(destination.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    ::close(descriptor);
    mode = status.st_mode & 07777;
    return true;
}

mode_t default_file_mode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Puts the finished temporary file in the destination's place in one step. An existing
// destination is exchanged with the temporary file, whose name then holds the earlier
// report and is removed: renaming over an existing file makes ext4 write the new file's
// data out first, about a millisecond per megabyte of report. Where the exchange is not
// available, a plain rename does the same more slowly.
bool replace_destination(const std::string& temporary, const std::string& destination) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(temporary.c_str());
        return true;
    }
    return std::rename(temporary.c_str(), destination.c_str()) == 0;
}

}  // namespace

bool ReportFile::open(const std::string& name) {
    // A report reached through a link is written to the file the link leads to.
    std::error_code missing;
    std::filesystem::path resolved = std::filesystem::canonical(name, missing);
    const std::string destination = missing ? name : resolved.string();
    mode_t mode = default_file_mode();
    if (!existing_destination_writable(destination, mode)) return false;
    std::string pattern = destination + ".tmpXXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return false;
    ::fchmod(descriptor, mode);
    ::close(descriptor);
    temporary_ = temporary.data();
    destination_ = destination;
    // Reports run to many megabytes: a large buffer writes them in few system calls.
    constexpr size_t BUFFER_SIZE = size_t{1} << 18;
    buffer_.resize(BUFFER_SIZE);
    out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    // The temporary file is new and empty, so it is opened without truncation: on ext4 a
    // truncated file's data is flushed to disk when it is closed, which costs tens of
    // milliseconds per hundred megabytes of report.
    out_.open(temporary_, std::ios::binary | std::ios::in | std::ios::out);
    if (!out_) {
        std::remove(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    return true;
}

bool ReportFile::commit() {
    if (temporary_.empty()) return false;
    out_.close();
    bool written = !out_.fail() && replace_destination(temporary_, destination_);
    if (!written) std::remove(temporary_.c_str());
    temporary_.clear();
    return written;
}

ReportFile::~ReportFile() {
    if (temporary_.empty()) return;
    out_.close();
    std::remove(temporary_.c_str());
}
