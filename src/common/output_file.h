#pragma once
// Output that is written completely or not at all, and that tells when it failed and why.
#include <cstdio>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

/// A stream buffer that writes through to a C file (which does the buffering) and keeps the
/// error of the first write that failed; it does not close the file.
class FileOutputBuffer : public std::streambuf {
public:
    explicit FileOutputBuffer(std::FILE* file) : file_(file) {}

    /// Writes out what the file buffers; returns why a write failed, empty when none did.
    std::string finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    std::FILE* file_;
    int error_ = 0;
};

/// A file written under a temporary name beside its target and moved onto the target only when
/// it is complete: a run that fails or is interrupted leaves neither a truncated file nor a
/// damaged earlier one, and no temporary file behind. A target that is no file to replace (a named
/// pipe, a device, a socket, or a link to one) is written where it is, as standard output is.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    /// Removes the temporary file of an output that was not finished.
    ~OutputFile();

    /// Creates the temporary file for `target`, or opens a target that is written where it is;
    /// false when the target cannot be replaced or opened or the temporary file cannot be created.
    /// A name that the system would change stops the run (FatalError).
    bool create(const std::string& target);
    std::ostream& stream() { return stream_; }
    /// Writes the file out and moves it onto the target (unless it is written where it is); a
    /// failure throws FatalError with a message that names the target and the reason.
    void finish();

private:
    void discard();

    std::string target_;  // as the messages name it
    std::string path_;    // where it is written
    std::string temporary_;  // empty for a target written where it is
    std::FILE* file_ = nullptr;
    int interrupt_slot_ = -1;
    std::optional<FileOutputBuffer> buffer_;
    std::ostream stream_{nullptr};
};

