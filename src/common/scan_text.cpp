#include "common/scan_text.h"

#include <cctype>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace {

// The blanks of the C locale.
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A number ends cleanly when nothing after it could have made scanf read further.
bool ends_cleanly(char c) {
    return c == '\0' || is_space(c) || (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '+' &&
                                        c != '-' && c != '(' && c != '_');
}

// An optional sign and at most 18 digits, cleanly ended; false for anything else.
bool read_integer(const char*& p, long long& value) {
    const char* start = p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const char* digits = p;
    while (is_digit(*p)) ++p;
    size_t count = static_cast<size_t>(p - digits);
    if (count == 0 || count > 18 || !ends_cleanly(*p)) {
        p = start;
        return false;
    }
    long long magnitude = 0;  // at most 18 digits: no overflow
    for (const char* digit = digits; digit < p; ++digit) magnitude = magnitude * 10 + (*digit - '0');
    value = negative ? -magnitude : magnitude;
    return true;
}

// A plain decimal: sign, digits with an optional point, an optional exponent with digits.
bool read_decimal(const char*& p, double& value) {
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    size_t digits = 0;
    while (is_digit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) {
        p = start;
        return false;
    }
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        if (!is_digit(*p)) {
            p = start;
            return false;
        }
        while (is_digit(*p)) ++p;
    }
    if (!ends_cleanly(*p)) {
        p = start;
        return false;
    }
    double magnitude = 0.0;
    auto result = std::from_chars(mantissa, p, magnitude);
    if (result.ec != std::errc() || result.ptr != p) {
        p = start;
        return false;
    }
    value = *start == '-' ? -magnitude : magnitude;
    return true;
}

// Reads every directive of `format` from `text`; false when anything needs the real scanf.
bool scan_plain(const char* text, const char* format, std::va_list args, int& assigned) {
    const char* p = text;
    assigned = 0;
    for (const char* f = format; *f != '\0';) {
        if (is_space(*f)) {
            while (is_space(*f)) ++f;
            while (is_space(*p)) ++p;
            continue;
        }
        if (*f != '%') return false;
        ++f;
        bool suppress = *f == '*';
        if (suppress) ++f;
        int longs = 0;
        while (*f == 'l') ++longs, ++f;
        char conversion = *f;
        if (conversion == '\0') return false;
        ++f;
        while (is_space(*p)) ++p;
        if (*p == '\0') return false;  // end of input: scanf decides between EOF and a count
        if (conversion == 's' && longs == 0) {
            const char* word = p;
            while (*p != '\0' && !is_space(*p)) ++p;
            if (!suppress) {
                char* destination = va_arg(args, char*);
                std::memcpy(destination, word, static_cast<size_t>(p - word));
                destination[p - word] = '\0';
                ++assigned;
            }
        } else if (conversion == 'f' && longs == 1 && !suppress) {
            double value = 0.0;
            if (!read_decimal(p, value)) return false;
            *va_arg(args, double*) = value;
            ++assigned;
        } else if ((conversion == 'd' && (longs == 0 || longs == 2)) || (conversion == 'u' && longs == 0)) {
            long long value = 0;
            if (!read_integer(p, value)) return false;
            if (suppress) continue;
            if (conversion == 'u')
                *va_arg(args, unsigned*) = static_cast<unsigned>(value);
            else if (longs == 2)
                *va_arg(args, long long*) = value;
            else
                *va_arg(args, int*) = static_cast<int>(value);
            ++assigned;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int scan_text(std::string_view view, const char* format, ...) {
    // The lines of this program are short: a NUL-terminated copy on the stack, on the heap
    // only for a long one.
    char small[256];
    std::string large;
    const char* text = small;
    view = view.substr(0, view.find('\0'));
    if (view.size() < sizeof small) {
        std::memcpy(small, view.data(), view.size());
        small[view.size()] = '\0';
    } else {
        large.assign(view);
        text = large.c_str();
    }
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    int assigned = 0;
    int result = scan_plain(text, format, args, assigned) ? assigned : std::vsscanf(text, format, again);
    va_end(again);
    va_end(args);
    return result;
}
