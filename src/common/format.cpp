#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

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
    /// Room for `count` more characters, to be filled by the caller.
    char* room(size_t count) {
        size_t used = out_.size();
        out_.resize(used + count);
        return out_.data() + used;
    }

private:
    std::string& out_;
};

// Collects the text in a buffer and writes it to the stream in large pieces.
class StreamSink {
public:
    StreamSink(std::ostream& out, char* buffer, size_t capacity, size_t& used)
        : out_(out), buffer_(buffer), capacity_(capacity), used_(used) {}
    StreamSink(const StreamSink&) = delete;
    StreamSink& operator=(const StreamSink&) = delete;
    void append(const char* text, size_t length) {
        written_ += length;
        if (used_ + length > capacity_) {
            flush();
            if (length > capacity_) {
                out_.write(text, static_cast<std::streamsize>(length));
                return;
            }
        }
        std::memcpy(buffer_ + used_, text, length);
        used_ += length;
    }
    void append(std::string_view text) { append(text.data(), text.size()); }
    void push_back(char c) {
        if (used_ + 1 > capacity_) flush();
        buffer_[used_++] = c;
        ++written_;
    }
    void append_spaces(size_t count) {
        for (; count > SPACES.size(); count -= SPACES.size()) append(SPACES);
        append(SPACES.data(), count);
    }
    /// Room for `count` more characters, to be filled by the caller; null when the buffer
    /// cannot hold that many.
    char* room(size_t count) {
        if (used_ + count > capacity_) {
            flush();
            if (count > capacity_) return nullptr;
        }
        char* start = buffer_ + used_;
        used_ += count;
        written_ += count;
        return start;
    }
    void flush() {
        if (used_ > 0) out_.write(buffer_, static_cast<std::streamsize>(used_));
        used_ = 0;
    }
    size_t written() const { return written_; }

private:
    std::ostream& out_;
    char* buffer_;
    size_t capacity_;
    size_t& used_;
    size_t written_ = 0;
};



template <typename Sink>
void pad_and_append(Sink& out, std::string_view text, const FormatDirective& directive) {
    size_t width = directive.width > 0 ? static_cast<size_t>(directive.width) : 0;
    size_t fill = width > text.size() ? width - text.size() : 0;
    if (char* room = out.room(fill + text.size())) {
        char* spaces = directive.left ? room + text.size() : room;
        std::memcpy(directive.left ? room : room + fill, text.data(), text.size());
        std::memset(spaces, ' ', fill);
        return;
    }
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
void append_integer(Sink& out, long long value, const FormatDirective& directive) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), directive);
}

template <typename Sink>
void append_unsigned(Sink& out, unsigned long long value, const FormatDirective& directive) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), directive);
}

__extension__ typedef unsigned __int128 Wide;

// "%.*f" of a finite double with at most 9 decimals and a magnitude below 2^52, exactly
// as printf rounds it (the exact binary value, ties to even), with 128-bit integers:
// value = mantissa * 2^-shift, so value * 10^precision = mantissa * 10^precision >> shift.
// Returns the length written into `text`, or 0 when the value is outside that range.
constexpr uint64_t POWERS_OF_TEN[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The rounded scaled value as whole part, point and PRECISION decimals; a constant
// divisor lets the compiler split without a division instruction.
template <int PRECISION>
char* write_scaled(char* p, uint64_t rounded) {
    constexpr uint64_t SCALE = POWERS_OF_TEN[PRECISION];
    uint64_t whole = rounded / SCALE;
    uint64_t decimals = rounded % SCALE;
    p = std::to_chars(p, p + 24, whole).ptr;
    if constexpr (PRECISION > 0) {
        *p++ = '.';
        for (int digit = PRECISION - 1; digit >= 0; --digit) {
            p[digit] = static_cast<char>('0' + decimals % 10);
            decimals /= 10;
        }
        p += PRECISION;
    }
    return p;
}

size_t fixed_digits(char* text, double value, int precision) {
    if (precision < 0 || precision > 9) return 0;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    int biased = static_cast<int>(bits >> 52 & 0x7ff);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (biased != 0) mantissa |= uint64_t{1} << 52;       // normal numbers carry the hidden bit
    int shift = 1075 - (biased != 0 ? biased : 1);         // |value| = mantissa / 2^shift
    if (shift < 1) return 0;                               // 2^52 and above: not handled here
    Wide scaled = static_cast<Wide>(mantissa) * POWERS_OF_TEN[precision];
    Wide quotient = 0;
    if (shift < 128) {
        quotient = scaled >> shift;
        Wide remainder = scaled & ((Wide{1} << shift) - 1);
        Wide half = Wide{1} << (shift - 1);
        if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
    }
    if (quotient > Wide{UINT64_MAX}) return 0;
    uint64_t rounded = static_cast<uint64_t>(quotient);
    char* p = text;
    if (std::signbit(value)) *p++ = '-';
    switch (precision) {
        case 0: p = write_scaled<0>(p, rounded); break;
        case 1: p = write_scaled<1>(p, rounded); break;
        case 2: p = write_scaled<2>(p, rounded); break;
        case 3: p = write_scaled<3>(p, rounded); break;
        case 4: p = write_scaled<4>(p, rounded); break;
        case 5: p = write_scaled<5>(p, rounded); break;
        case 6: p = write_scaled<6>(p, rounded); break;
        case 7: p = write_scaled<7>(p, rounded); break;
        case 8: p = write_scaled<8>(p, rounded); break;
        default: p = write_scaled<9>(p, rounded); break;
    }
    return static_cast<size_t>(p - text);
}

template <typename Sink>
void append_fixed(Sink& out, double value, const FormatDirective& directive) {
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

// Parses the conversion that begins at `percent` (not "%%").
FormatDirective parse_directive(const char* percent) {
    FormatDirective directive;
    directive.start = percent;
    const char* p = percent + 1;
    for (;; ++p) {
        if (*p == '-')
            directive.left = true;
        else if (*p == '+' || *p == ' ' || *p == '0' || *p == '#')
            directive.other_flags = true;
        else
            break;
    }
    if (*p == '*') {
        directive.width_star = true;
        ++p;
    } else {
        while (*p >= '0' && *p <= '9') directive.width = directive.width * 10 + (*p++ - '0');
    }
    if (*p == '.') {
        ++p;
        directive.precision = 0;
        if (*p == '*') {
            directive.precision_star = true;
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
    directive.end = p;
    return directive;
}

// Writes one conversion, taking its arguments (star width and precision first) from `args`.
template <typename Sink>
void emit_directive(Sink& out, const FormatDirective& directive, std::va_list* args) {
    if (directive.width_star || directive.precision_star) {
        // Put the star arguments in, then write the conversion as if they had been numbers.
        FormatDirective given = directive;
        given.width_star = given.precision_star = false;
        if (directive.width_star) {
            given.width = va_arg(*args, int);
            if (given.width < 0) {
                given.left = true;
                given.width = -given.width;
            }
        }
        if (directive.precision_star) given.precision = va_arg(*args, int);
        emit_directive(out, given, args);
        return;
    }
    // The directive as snprintf needs it when this engine does not write the conversion itself,
    // with the star arguments already read put in as numbers.
    auto fallback_format = [&]() {
        std::string text = "%";
        if (directive.left) text += '-';
        for (const char* flag = directive.start + 1; *flag == '-' || *flag == '+' || *flag == ' ' || *flag == '0' || *flag == '#'; ++flag)
            if (*flag != '-') text += *flag;
        if (directive.width > 0) text += std::to_string(directive.width);
        if (directive.precision >= 0) {
            text += '.';
            text += std::to_string(directive.precision);
        }
        return text;
    };
    const bool plain = !directive.other_flags && !directive.other_length;
    switch (directive.conversion) {
        case 'd':
        case 'i': {
            long long value = directive.longs >= 2 ? va_arg(*args, long long)
                              : directive.longs == 1 ? va_arg(*args, long) : va_arg(*args, int);
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
            unsigned long long value = directive.longs >= 2 ? va_arg(*args, unsigned long long)
                                       : directive.longs == 1 ? va_arg(*args, unsigned long) : va_arg(*args, unsigned);
            if (plain && directive.precision < 0 && directive.conversion == 'u')
                append_unsigned(out, value, directive);
            else
                append_by_snprintf(out, fallback_format() + "ll" + directive.conversion, value);
            break;
        }
        case 'c': {
            char value = static_cast<char>(va_arg(*args, int));
            if (plain)
                pad_and_append(out, std::string_view(&value, 1), directive);
            else
                append_by_snprintf(out, fallback_format() + "c", static_cast<int>(value));
            break;
        }
        case 's': {
            const char* value = va_arg(*args, const char*);
            if (value == nullptr) value = "(null)";
            std::string_view text(value);
            if (directive.precision >= 0 && text.size() > static_cast<size_t>(directive.precision))
                text = text.substr(0, static_cast<size_t>(directive.precision));
            pad_and_append(out, text, directive);
            break;
        }
        case 'f':
        case 'F': {
            double value = va_arg(*args, double);
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
            append_by_snprintf(out, fallback_format() + directive.conversion, va_arg(*args, double));
            break;
        case 'p':
            append_by_snprintf(out, fallback_format() + "p", va_arg(*args, void*));
            break;
        default:
            // Not a conversion this program writes: keep the text as printf would not
            // interpret it either.
            out.append(directive.start, static_cast<size_t>(directive.end - directive.start));
            break;
    }
}

template <typename Sink>
void vappend(Sink& out, const char* format, std::va_list* args) {
    const char* p = format;
    while (*p != '\0') {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(std::string_view(p));
            return;
        }
        out.append(p, static_cast<size_t>(percent - p));
        if (percent[1] == '%') {
            out.push_back('%');
            p = percent + 2;
            continue;
        }
        FormatDirective directive = parse_directive(percent);
        p = directive.end;
        emit_directive(out, directive, args);
    }
}

template <typename Sink>
void append_prepared(Sink& out, const std::vector<FormatPiece>& pieces, std::va_list* args) {
    for (const FormatPiece& piece : pieces) {
        if (!piece.text.empty()) out.append(piece.text);
        if (piece.directive.start != nullptr) emit_directive(out, piece.directive, args);
    }
}

}  // namespace

std::string format_text(const char* format, ...) {
    std::string result;
    StringSink sink(result);
    std::va_list args;
    va_start(args, format);
    vappend(sink, format, &args);
    va_end(args);
    return result;
}

int print_to(std::ostream& out, const char* format, ...) {
    char buffer[1024];
    size_t used = 0;
    StreamSink sink(out, buffer, sizeof buffer, used);
    std::va_list args;
    va_start(args, format);
    vappend(sink, format, &args);
    va_end(args);
    sink.flush();
    return out ? static_cast<int>(sink.written()) : -1;
}

PreparedFormat::PreparedFormat(const char* format) {
    const char* text = format;  // where the literal text of the next piece begins
    for (;;) {
        const char* percent = std::strchr(text, '%');
        if (percent == nullptr) {
            size_t length = std::strlen(text);
            if (length > 0) pieces_.push_back(FormatPiece{std::string_view(text, length), FormatDirective{}});
            return;
        }
        if (percent[1] == '%') {
            // "%%" ends a piece of text with one '%'; the text goes on after it.
            pieces_.push_back(FormatPiece{std::string_view(text, static_cast<size_t>(percent + 1 - text)), FormatDirective{}});
            text = percent + 2;
            continue;
        }
        FormatDirective directive = parse_directive(percent);
        pieces_.push_back(FormatPiece{std::string_view(text, static_cast<size_t>(percent - text)), directive});
        text = directive.end;
    }
}

int print_to(std::ostream& out, const PreparedFormat* format, ...) {
    char buffer[1024];
    size_t used = 0;
    StreamSink sink(out, buffer, sizeof buffer, used);
    std::va_list args;
    va_start(args, format);
    append_prepared(sink, format->pieces(), &args);
    va_end(args);
    sink.flush();
    return out ? static_cast<int>(sink.written()) : -1;
}

TextOutput::~TextOutput() { flush(); }

void TextOutput::flush() {
    if (used_ > 0) out_.write(buffer_, static_cast<std::streamsize>(used_));
    used_ = 0;
}

void TextOutput::print(const char* format, ...) {
    StreamSink sink(out_, buffer_, sizeof buffer_, used_);
    std::va_list args;
    va_start(args, format);
    vappend(sink, format, &args);
    va_end(args);
}

void TextOutput::print(const PreparedFormat* format, ...) {
    StreamSink sink(out_, buffer_, sizeof buffer_, used_);
    std::va_list args;
    va_start(args, format);
    append_prepared(sink, format->pieces(), &args);
    va_end(args);
}

void TextOutput::write(std::string_view text) {
    StreamSink sink(out_, buffer_, sizeof buffer_, used_);
    sink.append(text);
}
