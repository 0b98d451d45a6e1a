#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string_view>

// The formatting engine behind format_text and print_to. It reads the arguments the
// way printf does, and writes plain conversions itself: strings, characters and
// integers with width, precision and the '-' flag, and "%f", whose digits come from
// exact integer arithmetic on the double (std::to_chars for the rare values outside
// its range), rounded exactly as printf rounds in the C locale. Every other conversion or
// flag is handed to std::snprintf one conversion at a time, so the output is always
// the bytes printf would write; the reports are simply much faster this way.
namespace {

constexpr std::string_view SPACES = "                                                                ";

// Where formatted text goes: a string, or a stack buffer in front of a stream.
class StringSink {
public:
    explicit StringSink(std::string& out) : out_(out) {}
    void append(const char* text, size_t length) { out_.append(text, length); }
    void append(std::string_view text) { out_.append(text); }
    void push_back(char c) { out_.push_back(c); }
    void append_spaces(size_t count) { out_.append(count, ' '); }

private:
    std::string& out_;
};

// Collects the text in a stack buffer and writes it to the stream in large pieces.
class StreamSink {
public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    StreamSink(const StreamSink&) = delete;
    StreamSink& operator=(const StreamSink&) = delete;
    ~StreamSink() { flush(); }
    void append(const char* text, size_t length) {
        written_ += length;
        if (used_ + length > sizeof buffer_) {
            flush();
            if (length > sizeof buffer_) {
                out_.write(text, static_cast<std::streamsize>(length));
                return;
            }
        }
        std::memcpy(buffer_ + used_, text, length);
        used_ += length;
    }
    void append(std::string_view text) { append(text.data(), text.size()); }
    void push_back(char c) { append(&c, 1); }
    void append_spaces(size_t count) {
        for (; count > SPACES.size(); count -= SPACES.size()) append(SPACES);
        append(SPACES.data(), count);
    }
    void flush() {
        if (used_ > 0) out_.write(buffer_, static_cast<std::streamsize>(used_));
        used_ = 0;
    }
    size_t written() const { return written_; }

private:
    std::ostream& out_;
    char buffer_[1024];
    size_t used_ = 0;
    size_t written_ = 0;
};

struct Directive {
    bool left = false;
    bool other_flags = false;  // '+', ' ', '0' or '#'
    int width = 0;
    int precision = -1;
    int longs = 0;  // number of 'l' modifiers
    bool other_length = false;  // h, hh, j, z, t, L
    char conversion = '\0';
};

template <typename Sink>
void pad_and_append(Sink& out, std::string_view text, const Directive& directive) {
    size_t width = directive.width > 0 ? static_cast<size_t>(directive.width) : 0;
    size_t fill = width > text.size() ? width - text.size() : 0;
    if (!directive.left && fill > 0) out.append_spaces(fill);
    out.append(text);
    if (directive.left && fill > 0) out.append_spaces(fill);
}

// One conversion handed to snprintf, with the directive text rebuilt from what was parsed.
template <typename Sink, typename Value>
void append_by_snprintf(Sink& out, std::string_view directive_text, Value value) {
    std::string format(directive_text);
    int length = std::snprintf(nullptr, 0, format.c_str(), value);
    if (length <= 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format.c_str(), value);
    out.append(text.data(), static_cast<size_t>(length));
}

template <typename Sink>
void append_integer(Sink& out, long long value, const Directive& directive) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), directive);
}

template <typename Sink>
void append_unsigned(Sink& out, unsigned long long value, const Directive& directive) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), directive);
}

__extension__ typedef unsigned __int128 Wide;

// "%.*f" of a finite double with at most 9 decimals and a magnitude below 2^52, exactly
// as printf rounds it (the exact binary value, ties to even), with 128-bit integers:
// value = mantissa * 2^-shift, so value * 10^precision = mantissa * 10^precision >> shift.
// Returns the length written into `text`, or 0 when the value is outside that range.
size_t fixed_digits(char* text, double value, int precision) {
    if (precision > 9) return 0;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    int biased = static_cast<int>(bits >> 52 & 0x7ff);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (biased != 0) mantissa |= uint64_t{1} << 52;       // normal numbers carry the hidden bit
    int shift = 1075 - (biased != 0 ? biased : 1);         // |value| = mantissa / 2^shift
    if (shift < 1) return 0;                               // 2^52 and above: not handled here
    uint64_t scale = 1;
    for (int digit = 0; digit < precision; ++digit) scale *= 10;
    Wide scaled = static_cast<Wide>(mantissa) * scale;
    Wide quotient = 0;
    if (shift < 128) {
        quotient = scaled >> shift;
        Wide remainder = scaled - (quotient << shift);
        Wide half = shift > 0 ? Wide{1} << (shift - 1) : 0;
        if (shift > 0 && (remainder > half || (remainder == half && (quotient & 1) != 0))) ++quotient;
    }
    if (quotient > Wide{UINT64_MAX}) return 0;
    uint64_t rounded = static_cast<uint64_t>(quotient);
    uint64_t whole = rounded / scale;
    uint64_t decimals = rounded % scale;
    char* p = text;
    if (std::signbit(value)) *p++ = '-';
    p = std::to_chars(p, p + 24, whole).ptr;
    if (precision > 0) {
        *p++ = '.';
        for (int digit = precision - 1; digit >= 0; --digit) {
            p[digit] = static_cast<char>('0' + decimals % 10);
            decimals /= 10;
        }
        p += precision;
    }
    return static_cast<size_t>(p - text);
}

template <typename Sink>
void append_fixed(Sink& out, double value, const Directive& directive) {
    char small[128];
    int precision = directive.precision < 0 ? 6 : directive.precision;
    if (size_t length = fixed_digits(small, value, precision); length > 0) {
        pad_and_append(out, std::string_view(small, length), directive);
        return;
    }
    auto result = std::to_chars(small, small + sizeof small, value, std::chars_format::fixed, precision);
    if (result.ec == std::errc()) {
        pad_and_append(out, std::string_view(small, static_cast<size_t>(result.ptr - small)), directive);
        return;
    }
    std::string large(400 + static_cast<size_t>(precision), '\0');
    result = std::to_chars(large.data(), large.data() + large.size(), value, std::chars_format::fixed, precision);
    pad_and_append(out, std::string_view(large.data(), static_cast<size_t>(result.ptr - large.data())), directive);
}

template <typename Sink>
void vappend(Sink& out, const char* format, std::va_list args) {
    const char* p = format;
    while (*p != '\0') {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(std::string_view(p));
            return;
        }
        out.append(p, static_cast<size_t>(percent - p));
        const char* directive_start = percent;
        p = percent + 1;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        Directive directive;
        for (;; ++p) {
            if (*p == '-')
                directive.left = true;
            else if (*p == '+' || *p == ' ' || *p == '0' || *p == '#')
                directive.other_flags = true;
            else
                break;
        }
        if (*p == '*') {
            directive.width = va_arg(args, int);
            if (directive.width < 0) {
                directive.left = true;
                directive.width = -directive.width;
            }
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') directive.width = directive.width * 10 + (*p++ - '0');
        }
        if (*p == '.') {
            ++p;
            directive.precision = 0;
            if (*p == '*') {
                directive.precision = va_arg(args, int);
                ++p;
            } else {
                while (*p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p++ - '0');
            }
        }
        while (*p == 'l') {
            ++directive.longs;
            ++p;
        }
        while (*p == 'h' || *p == 'j' || *p == 'z' || *p == 't' || *p == 'L') {
            directive.other_length = true;
            ++p;
        }
        directive.conversion = *p;
        if (*p != '\0') ++p;
        // The directive as snprintf needs it when this engine does not write the conversion itself,
        // with the star arguments already read put in as numbers.
        auto fallback_format = [&]() {
            std::string text = "%";
            if (directive.left) text += '-';
            for (const char* flag = directive_start + 1; *flag == '-' || *flag == '+' || *flag == ' ' || *flag == '0' || *flag == '#'; ++flag)
                if (*flag != '-') text += *flag;
            if (directive.width > 0) text += std::to_string(directive.width);
            if (directive.precision >= 0) text += "." + std::to_string(directive.precision);
            return text;
        };
        const bool plain = !directive.other_flags && !directive.other_length;
        switch (directive.conversion) {
            case 'd':
            case 'i': {
                long long value = directive.longs >= 2 ? va_arg(args, long long)
                                  : directive.longs == 1 ? va_arg(args, long) : va_arg(args, int);
                if (plain && directive.precision < 0)
                    append_integer(out, value, directive);
                else
                    append_by_snprintf(out, fallback_format() + "lld", value);
                break;
            }
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                unsigned long long value = directive.longs >= 2 ? va_arg(args, unsigned long long)
                                           : directive.longs == 1 ? va_arg(args, unsigned long) : va_arg(args, unsigned);
                if (plain && directive.precision < 0 && directive.conversion == 'u')
                    append_unsigned(out, value, directive);
                else
                    append_by_snprintf(out, fallback_format() + "ll" + directive.conversion, value);
                break;
            }
            case 'c': {
                char value = static_cast<char>(va_arg(args, int));
                if (plain)
                    pad_and_append(out, std::string_view(&value, 1), directive);
                else
                    append_by_snprintf(out, fallback_format() + "c", static_cast<int>(value));
                break;
            }
            case 's': {
                const char* value = va_arg(args, const char*);
                if (value == nullptr) value = "(null)";
                std::string_view text(value);
                if (directive.precision >= 0 && text.size() > static_cast<size_t>(directive.precision))
                    text = text.substr(0, static_cast<size_t>(directive.precision));
                pad_and_append(out, text, directive);
                break;
            }
            case 'f':
            case 'F': {
                double value = va_arg(args, double);
                if (plain && directive.conversion == 'f' && std::isfinite(value))
                    append_fixed(out, value, directive);
                else
                    append_by_snprintf(out, fallback_format() + directive.conversion, value);
                break;
            }
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                append_by_snprintf(out, fallback_format() + directive.conversion, va_arg(args, double));
                break;
            case 'p':
                append_by_snprintf(out, fallback_format() + "p", va_arg(args, void*));
                break;
            default:
                // Not a conversion this program writes: keep the text as printf would not
                // interpret it either.
                out.append(directive_start, static_cast<size_t>(p - directive_start));
                break;
        }
    }
}

}  // namespace

std::string format_text(const char* format, ...) {
    std::string result;
    StringSink sink(result);
    std::va_list args;
    va_start(args, format);
    vappend(sink, format, args);
    va_end(args);
    return result;
}

int print_to(std::ostream& out, const char* format, ...) {
    StreamSink sink(out);
    std::va_list args;
    va_start(args, format);
    vappend(sink, format, args);
    va_end(args);
    sink.flush();
    return out ? static_cast<int>(sink.written()) : -1;
}
