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

/// A file's bytes in a block from allocate_large, writable, freed with the object.
class LargeFileBytes {
public:
    explicit LargeFileBytes(size_t room);
    LargeFileBytes(const LargeFileBytes&) = delete;
    LargeFileBytes& operator=(const LargeFileBytes&) = delete;
    ~LargeFileBytes();
    char* data() { return data_; }
    size_t size() const { return size_; }
    void set_size(size_t size) { size_ = size; }

private:
    char* data_;
    size_t room_;
    size_t size_ = 0;
};

/// Reads the regular file at `path` when it holds at least LARGE_BLOCK bytes; null when it
/// is smaller, cannot be opened or fails while it is read (then read it with read_whole_file).
std::shared_ptr<LargeFileBytes> read_large_file(const std::string& path);
