#pragma once
// Report rows built from typed pieces. A report of a large panel holds hundreds of thousands of
// rows of several fixed-point numbers each, and formatting them with snprintf took most of a
// run; each piece here writes exactly the bytes of one printf conversion, the numbers through
// std::to_chars, which rounds as printf does. Every row written this way is checked against
// snprintf with its printf format by a differential test.
#include <cstring>
#include <string>
#include <string_view>

class LineWriter {
public:
    /// The text written since the last clear().
    std::string_view text() const { return std::string_view(buffer_.data(), size_); }
    void clear() { size_ = 0; }

    /// Literal text.
    LineWriter& put(std::string_view text) {
        if (!text.empty()) std::memcpy(room(text.size()), text.data(), text.size());
        return *this;
    }
    /// "%c".
    LineWriter& put(char c) {
        *room(1) = c;
        return *this;
    }
    /// "%-Ns": the text, padded with blanks on the right to `width`.
    LineWriter& left(std::string_view text, int width);
    /// "%-N.Ns": the text cut to `width` and padded to it.
    LineWriter& left_cut(std::string_view text, int width);
    /// "%Nd".
    LineWriter& integer(long long value, int width);
    /// "%N.Plf": the value with `precision` decimals, right-aligned in `width`.
    LineWriter& fixed(double value, int width, int precision);
    /// A field of a comma-separated line (RFC 4180): in double quotes, its quotes doubled, when it
    /// holds a comma, a double quote or a line end; else as it is.
    LineWriter& csv(std::string_view text);

private:
    // The text right-aligned in `width`.
    void right(std::string_view text, int width);
    // Room for `count` more characters at the end of the text: the pieces are copied straight into
    // a buffer that only grows, which a report's many small pieces feel.
    char* room(size_t count) {
        if (buffer_.size() - size_ < count) grow(count);
        char* at = buffer_.data() + size_;
        size_ += count;
        return at;
    }
    void grow(size_t count);
    std::string buffer_;  // the text is its first size_ characters
    size_t size_ = 0;
};
