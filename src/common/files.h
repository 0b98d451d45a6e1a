#pragma once
// Reading whole input files. A name that leads to a directory, or a file that
// fails while it is read, counts as a file that cannot be opened: reading a
// directory as text must never end the program.
#include <istream>
#include <memory>
#include <string>
#include <string_view>

/// Reads the whole regular file at `path` into `bytes`; false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::string& bytes);

/// True when `path` names a file that read_whole_file can open.
bool readable_file(const std::string& path);

/// Everything the stream delivers; a read error ends the text where it happened.
std::string read_whole_stream(std::istream& in);

/// A regular file mapped into memory, read-only, for as long as the object lives.
class MappedFile {
public:
    MappedFile(const void* address, size_t size) : address_(address), size_(size) {}
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();
    std::string_view bytes() const { return std::string_view(static_cast<const char*>(address_), size_); }

private:
    const void* address_;
    size_t size_;
};

/// Maps the regular, non-empty file at `path`; null when it cannot be mapped (then read it).
std::shared_ptr<const MappedFile> map_file(const std::string& path);
