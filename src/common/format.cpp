#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string_view>

// The formatting engine behind format_text and print_to. It reads the arguments the
// way printf does, and writes plain conversions itself: strings, characters and
// integers with width, precision and the '-' flag, and "%f" through std::to_chars,
// which rounds exactly as printf does in the C locale. Every other conversion or
// flag is handed to std::snprintf one conversion at a time, so the output is always
// the bytes printf would write; the reports are simply much faster this way.
namespace {

struct Spec {
    bool left = false;
    bool other_flags = false;  // '+', ' ', '0' or '#'
    int width = 0;
    int precision = -1;
    int longs = 0;  // number of 'l' modifiers
    bool other_length = false;  // h, hh, j, z, t, L
    char conversion = '\0';
};

void pad_and_append(std::string& out, std::string_view text, const Spec& spec) {
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    size_t fill = width > text.size() ? width - text.size() : 0;
    if (!spec.left) out.append(fill, ' ');
    out.append(text);
    if (spec.left) out.append(fill, ' ');
}

// One conversion handed to snprintf, with the spec text rebuilt from what was parsed.
template <typename Value>
void append_by_snprintf(std::string& out, std::string_view spec_text, Value value) {
    std::string format(spec_text);
    int length = std::snprintf(nullptr, 0, format.c_str(), value);
    if (length <= 0) return;
    size_t start = out.size();
    out.resize(start + static_cast<size_t>(length) + 1);
    std::snprintf(out.data() + start, static_cast<size_t>(length) + 1, format.c_str(), value);
    out.resize(start + static_cast<size_t>(length));
}

void append_integer(std::string& out, long long value, const Spec& spec) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), spec);
}

void append_unsigned(std::string& out, unsigned long long value, const Spec& spec) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    pad_and_append(out, std::string_view(digits, static_cast<size_t>(result.ptr - digits)), spec);
}

void append_fixed(std::string& out, double value, const Spec& spec) {
    char small[128];
    int precision = spec.precision < 0 ? 6 : spec.precision;
    auto result = std::to_chars(small, small + sizeof small, value, std::chars_format::fixed, precision);
    if (result.ec == std::errc()) {
        pad_and_append(out, std::string_view(small, static_cast<size_t>(result.ptr - small)), spec);
        return;
    }
    std::string large(400 + static_cast<size_t>(precision), '\0');
    result = std::to_chars(large.data(), large.data() + large.size(), value, std::chars_format::fixed, precision);
    pad_and_append(out, std::string_view(large.data(), static_cast<size_t>(result.ptr - large.data())), spec);
}

void vappend(std::string& out, const char* format, std::va_list args) {
    const char* p = format;
    while (*p != '\0') {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(p);
            return;
        }
        out.append(p, static_cast<size_t>(percent - p));
        const char* spec_start = percent;
        p = percent + 1;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        Spec spec;
        for (;; ++p) {
            if (*p == '-')
                spec.left = true;
            else if (*p == '+' || *p == ' ' || *p == '0' || *p == '#')
                spec.other_flags = true;
            else
                break;
        }
        if (*p == '*') {
            spec.width = va_arg(args, int);
            if (spec.width < 0) {
                spec.left = true;
                spec.width = -spec.width;
            }
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') spec.width = spec.width * 10 + (*p++ - '0');
        }
        if (*p == '.') {
            ++p;
            spec.precision = 0;
            if (*p == '*') {
                spec.precision = va_arg(args, int);
                ++p;
            } else {
                while (*p >= '0' && *p <= '9') spec.precision = spec.precision * 10 + (*p++ - '0');
            }
        }
        while (*p == 'l') {
            ++spec.longs;
            ++p;
        }
        while (*p == 'h' || *p == 'j' || *p == 'z' || *p == 't' || *p == 'L') {
            spec.other_length = true;
            ++p;
        }
        spec.conversion = *p;
        if (*p != '\0') ++p;
        // The spec as snprintf needs it when this engine does not write the conversion itself,
        // with the star arguments already read put in as numbers.
        auto fallback_spec = [&]() {
            std::string text = "%";
            if (spec.left) text += '-';
            for (const char* flag = spec_start + 1; *flag == '-' || *flag == '+' || *flag == ' ' || *flag == '0' || *flag == '#'; ++flag)
                if (*flag != '-') text += *flag;
            if (spec.width > 0) text += std::to_string(spec.width);
            if (spec.precision >= 0) text += "." + std::to_string(spec.precision);
            return text;
        };
        const bool plain = !spec.other_flags && !spec.other_length;
        switch (spec.conversion) {
            case 'd':
            case 'i': {
                long long value = spec.longs >= 2 ? va_arg(args, long long)
                                  : spec.longs == 1 ? va_arg(args, long) : va_arg(args, int);
                if (plain && spec.precision < 0)
                    append_integer(out, value, spec);
                else
                    append_by_snprintf(out, fallback_spec() + "lld", value);
                break;
            }
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                unsigned long long value = spec.longs >= 2 ? va_arg(args, unsigned long long)
                                           : spec.longs == 1 ? va_arg(args, unsigned long) : va_arg(args, unsigned);
                if (plain && spec.precision < 0 && spec.conversion == 'u')
                    append_unsigned(out, value, spec);
                else
                    append_by_snprintf(out, fallback_spec() + "ll" + spec.conversion, value);
                break;
            }
            case 'c': {
                char value = static_cast<char>(va_arg(args, int));
                if (plain)
                    pad_and_append(out, std::string_view(&value, 1), spec);
                else
                    append_by_snprintf(out, fallback_spec() + "c", static_cast<int>(value));
                break;
            }
            case 's': {
                const char* value = va_arg(args, const char*);
                if (value == nullptr) value = "(null)";
                std::string_view text(value);
                if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision))
                    text = text.substr(0, static_cast<size_t>(spec.precision));
                pad_and_append(out, text, spec);
                break;
            }
            case 'f':
            case 'F': {
                double value = va_arg(args, double);
                if (plain && spec.conversion == 'f' && std::isfinite(value))
                    append_fixed(out, value, spec);
                else
                    append_by_snprintf(out, fallback_spec() + spec.conversion, value);
                break;
            }
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                append_by_snprintf(out, fallback_spec() + spec.conversion, va_arg(args, double));
                break;
            case 'p':
                append_by_snprintf(out, fallback_spec() + "p", va_arg(args, void*));
                break;
            default:
                // Not a conversion this program writes: keep the text as printf would not
                // interpret it either.
                out.append(spec_start, static_cast<size_t>(p - spec_start));
                break;
        }
    }
}

}  // namespace

std::string format_text(const char* format, ...) {
    std::string result;
    std::va_list args;
    va_start(args, format);
    vappend(result, format, args);
    va_end(args);
    return result;
}

int print_to(std::ostream& out, const char* format, ...) {
    std::string text;
    std::va_list args;
    va_start(args, format);
    vappend(text, format, args);
    va_end(args);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? static_cast<int>(text.size()) : -1;
}
