#pragma once
// printf-style formatting into strings and streams. Every output line of the
// program goes through one explicit printf format; the C locale is never
// changed, so numbers always use a decimal point.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

/// Formats like std::snprintf and returns the result as a string.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Formats like std::fprintf and writes the result to `out`; returns the number of
/// characters written, or -1 when the stream has failed.
int print_to(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

/// One conversion of a format as the formatter parses it; `start` and `end` delimit its text.
struct FormatDirective {
    const char* start = nullptr;
    const char* end = nullptr;
    bool left = false;
    bool other_flags = false;  // '+', ' ', '0' or '#'
    bool width_star = false;   // width and precision given as arguments
    bool precision_star = false;
    int width = 0;
    int precision = -1;
    int longs = 0;              // number of 'l' modifiers
    bool other_length = false;  // h, hh, j, z, t, L
    char conversion = '\0';
};

/// Literal text followed by a conversion (none when `directive.start` is null).
struct FormatPiece {
    std::string_view text;
    FormatDirective directive;
};

/// A printf format parsed once, for the formats applied to every part of a report: using
/// it writes exactly what the format itself would, without parsing it again. The format
/// text must outlive the object (the program's formats are literals).
class PreparedFormat {
public:
    explicit PreparedFormat(const char* format);
    const std::vector<FormatPiece>& pieces() const { return pieces_; }

private:
    std::vector<FormatPiece> pieces_;
};

/// Formats like print_to with a prepared format. The format comes by pointer because the
/// arguments after a reference parameter cannot be reached with va_start.
int print_to(std::ostream& out, const PreparedFormat* format, ...);

/// Formatted text collected in a buffer and written to a stream in large pieces, for
/// writers that print many short pieces. Everything is written at flush() or destruction;
/// write nothing to the stream directly in between.
class TextOutput {
public:
    explicit TextOutput(std::ostream& out) : out_(out) {}
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;
    ~TextOutput();

    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void print(const PreparedFormat* format, ...);
    void write(std::string_view text);
    void flush();

private:
    std::ostream& out_;
    size_t used_ = 0;
    // Large pieces mean few system calls: a 100 MB report in 16 KiB pieces spends about
    // twice as long in them as in 64 KiB ones.
    char buffer_[65536];
};
