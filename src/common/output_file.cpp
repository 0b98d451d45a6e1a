#include "common/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/fatal.h"
#include "common/format.h"
#include "platform/interrupts.h"
#include "platform/replace_file.h"

namespace {

// Reports run to many megabytes: large pieces mean few system calls.
constexpr size_t BUFFER_SIZE = size_t{1} << 18;

}  // namespace

std::string error_text(int error_number) { return std::strerror(error_number); }

FileOutputBuffer::FileOutputBuffer(std::FILE* file) : file_(file) {}

bool FileOutputBuffer::write_out(const char* data, size_t size) {
    if (error_ != 0) return false;
    errno = 0;
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
        error_ = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool FileOutputBuffer::write_buffered() {
    size_t used = static_cast<size_t>(pptr() - pbase());
    bool written = write_out(pbase(), used);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

FileOutputBuffer::int_type FileOutputBuffer::overflow(int_type c) {
    if (buffer_.empty()) {
        buffer_.resize(BUFFER_SIZE);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    } else if (!write_buffered()) {
        return traits_type::eof();
    }
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize FileOutputBuffer::xsputn(const char* text, std::streamsize count) {
    const auto size = static_cast<size_t>(count);
    if (size <= static_cast<size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), text, size);
        pbump(static_cast<int>(count));
        return count;
    }
    // Too large for the room left: what is buffered goes first, then the text itself.
    if (pbase() != nullptr && !write_buffered()) return 0;
    if (size < BUFFER_SIZE / 2) {
        overflow(traits_type::eof());
        std::memcpy(pptr(), text, size);
        pbump(static_cast<int>(count));
        return count;
    }
    return write_out(text, size) ? count : 0;
}

int FileOutputBuffer::sync() {
    if (pbase() != nullptr && !write_buffered()) return -1;
    if (error_ == 0 && std::fflush(file_) != 0) error_ = errno != 0 ? errno : EIO;
    return error_ == 0 ? 0 : -1;
}

std::string FileOutputBuffer::finish() {
    sync();
    return error_ == 0 ? std::string() : error_text(error_);
}

bool OutputFile::open(const std::string& target) {
    // A file reached through a link is written where the link leads, and the link stays.
    std::error_code missing;
    std::filesystem::path resolved = std::filesystem::canonical(target, missing);
    path_ = missing ? target : resolved.string();
    if (!replaceable_target(path_)) return false;
    {
        // No interruption between creating the file and noting it for removal.
        InterruptsHeld held;
        file_ = create_file_beside(path_, temporary_);
        if (file_ == nullptr) return false;
        interrupt_slot_ = remove_on_interrupt(temporary_);
    }
    // The buffer here is the only one the text passes through.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    target_ = target;
    buffer_.emplace(file_);
    stream_.rdbuf(&*buffer_);
    return true;
}

void OutputFile::finish() {
    std::string reason = buffer_->finish();
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(file) != 0 && reason.empty()) reason = error_text(errno != 0 ? errno : EIO);
    if (reason.empty() && !replace_file(temporary_, path_)) reason = error_text(errno != 0 ? errno : EIO);
    if (!reason.empty()) {
        discard();
        throw FatalError(
            format_text("\n\nFatal error: Can't write output file \"%s\": %s\n\n", target_.c_str(), reason.c_str()));
    }
    keep_on_interrupt(interrupt_slot_);
    temporary_.clear();
}

void OutputFile::discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    // Removed before it leaves the interruption list, so that no moment leaves it behind.
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    keep_on_interrupt(interrupt_slot_);
    temporary_.clear();
}

OutputFile::~OutputFile() { discard(); }
