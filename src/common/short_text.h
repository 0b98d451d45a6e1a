#pragma once
// Text for the names and values the part and footprint tables hold by the hundred
// thousand. Nearly all of them are a few characters long, for which std::string spends
// 32 bytes; a ShortText takes 16, holding up to 15 characters itself and longer text on
// the heap. The text always ends with a NUL, so c_str() needs no copy.
#include <concepts>
#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

class ShortText {
public:
    ShortText() noexcept { set_inline_length(0); }
    ShortText(std::string_view text) { set(text); }
    ShortText(const std::string& text) { set(text); }
    ShortText(const char* text) { set(text); }
    ShortText(const ShortText& other) { set(other.view()); }
    ShortText(ShortText&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, SIZE);
        other.set_inline_length(0);
    }
    ~ShortText() { release(); }

    ShortText& operator=(const ShortText& other) { return assign(other.view()); }
    ShortText& operator=(ShortText&& other) noexcept {
        if (this != &other) {
            release();
            std::memcpy(bytes_, other.bytes_, SIZE);
            other.set_inline_length(0);
        }
        return *this;
    }
    ShortText& operator=(std::string_view text) { return assign(text); }
    ShortText& operator=(const std::string& text) { return assign(text); }
    ShortText& operator=(const char* text) { return assign(text); }

    const char* c_str() const noexcept { return on_heap() ? heap_pointer() : bytes_; }
    const char* data() const noexcept { return c_str(); }
    size_t size() const noexcept {
        return on_heap() ? heap_length() : INLINE_MAX - static_cast<unsigned char>(bytes_[SIZE - 1]);
    }
    bool empty() const noexcept { return size() == 0; }
    std::string_view view() const noexcept { return {c_str(), size()}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const ShortText& a, const ShortText& b) noexcept { return a.view() == b.view(); }
    template <typename Text>
        requires std::convertible_to<const Text&, std::string_view>
    friend bool operator==(const ShortText& a, const Text& b) noexcept {
        return a.view() == std::string_view(b);
    }

private:
    // Held in the object: the characters, a NUL, and in the last byte INLINE_MAX minus the
    // length (for 15 characters that byte is 0 and is the NUL). On the heap: the pointer in
    // bytes 0 to 7, the length in bytes 8 to 14 and ON_HEAP in the last byte.
    static constexpr size_t SIZE = 16;
    static constexpr size_t INLINE_MAX = SIZE - 1;
    static constexpr unsigned char ON_HEAP = 0xff;

    bool on_heap() const noexcept { return static_cast<unsigned char>(bytes_[SIZE - 1]) == ON_HEAP; }
    char* heap_pointer() const noexcept {
        char* pointer;
        std::memcpy(&pointer, bytes_, sizeof pointer);
        return pointer;
    }
    size_t heap_length() const noexcept {
        size_t length = 0;
        for (size_t i = 0; i < 7; ++i) length |= static_cast<size_t>(static_cast<unsigned char>(bytes_[8 + i])) << (8 * i);
        return length;
    }
    void set_inline_length(size_t length) noexcept {
        bytes_[length] = '\0';
        bytes_[SIZE - 1] = static_cast<char>(INLINE_MAX - length);
    }
    void release() noexcept {
        if (on_heap()) delete[] heap_pointer();
    }
    // Fills the object, whose earlier text is already released or was never there.
    void set(std::string_view text);
    // Replaces the text; `text` may lie in this object's own text.
    ShortText& assign(std::string_view text) {
        ShortText fresh(text);
        return *this = std::move(fresh);
    }

    alignas(8) char bytes_[SIZE];
};

std::ostream& operator<<(std::ostream& out, const ShortText& text);
