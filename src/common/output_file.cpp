#include "common/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/fatal.h"
#include "common/files.h"
#include "common/text.h"
#include "platform/interrupts.h"
#include "platform/names.h"
#include "platform/replace_file.h"

namespace {

// The reason for a system error number, for messages.
std::string error_text(int error_number) { return std::strerror(error_number); }

// The error a failed call left, or an input/output error when it left none.
int last_error() { return errno != 0 ? errno : EIO; }

}  // namespace

FileOutputBuffer::int_type FileOutputBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    char character = traits_type::to_char_type(c);
    return xsputn(&character, 1) == 1 ? c : traits_type::eof();
}

std::streamsize FileOutputBuffer::xsputn(const char* text, std::streamsize count) {
    errno = 0;
    if (error_ == 0 && std::fwrite(text, 1, static_cast<size_t>(count), file_) != static_cast<size_t>(count))
        error_ = last_error();
    return error_ == 0 ? count : 0;
}

int FileOutputBuffer::sync() {
    errno = 0;
    if (error_ == 0 && std::fflush(file_) != 0) error_ = last_error();
    return error_ == 0 ? 0 : -1;
}

std::string FileOutputBuffer::finish() {
    sync();
    return error_ == 0 ? std::string() : error_text(error_);
}

bool OutputFile::create(const std::string& target) {
    refuse_unrepresentable_name(target);
    // A file reached through a link is written where the link leads, and the link stays.
    std::error_code missing;
    std::filesystem::path resolved = std::filesystem::canonical(file_system_path(target), missing);
    path_ = missing ? target : name_of_path(resolved);
    if (InPlaceTarget in_place = open_in_place(path_); in_place.in_place) {
        file_ = in_place.file;
        if (file_ == nullptr) return false;
    } else {
        if (!replaceable_target(path_)) return false;
        // No interruption between creating the file and noting it for removal.
        InterruptsHeld held;
        file_ = create_file_beside(path_, temporary_);
        if (file_ == nullptr) return false;
        interrupt_slot_ = remove_on_interrupt(temporary_);
    }
    // Reports run to many megabytes: large pieces mean few system calls.
    std::setvbuf(file_, nullptr, _IOFBF, size_t{1} << 18);
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
    if (std::fclose(file) != 0 && reason.empty()) reason = error_text(last_error());
    if (reason.empty() && !temporary_.empty() && !replace_file(temporary_, path_)) reason = error_text(last_error());
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
