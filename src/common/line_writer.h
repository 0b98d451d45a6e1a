#pragma once
// Report rows built from typed pieces. A report of a large panel holds hundreds of thousands of
// rows of several fixed-point numbers each, and formatting them with snprintf took most of a
// run; each piece here writes exactly the bytes of one printf conversion, the numbers through
// std::to_chars, which rounds as printf does. Every row written this way is checked against
// snprintf with its printf format by a differential test.
#include <string>
#include <string_view>

class LineWriter {
public:
    /// The text written since the last clear().
    std::string_view text() const { return line_; }
    void clear() { line_.clear(); }

    /// Literal text.
    LineWriter& put(std::string_view text) {
        line_ += text;
        return *this;
    }
    /// "%c".
    LineWriter& put(char c) {
        line_ += c;
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

private:
    // The text right-aligned in `width`.
    void right(std::string_view text, int width);
    std::string line_;
};
