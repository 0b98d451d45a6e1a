#include "common/short_text.h"

#include <ostream>

void ShortText::set(std::string_view text) {
    const size_t length = text.size();
    if (length <= INLINE_MAX) {
        if (length > 0) std::memcpy(bytes_, text.data(), length);
        set_inline_length(length);
        return;
    }
    char* copy = new char[length + 1];
    std::memcpy(copy, text.data(), length);
    copy[length] = '\0';
    std::memcpy(bytes_, &copy, sizeof copy);
    for (size_t i = 0; i < 7; ++i) bytes_[8 + i] = static_cast<char>(length >> (8 * i) & 0xff);
    bytes_[SIZE - 1] = static_cast<char>(ON_HEAP);
}

std::ostream& operator<<(std::ostream& out, const ShortText& text) { return out << text.view(); }
