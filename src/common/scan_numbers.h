#pragma once
// Reading the numbers of an input line exactly as std::sscanf reads them. The project files
// hold hundreds of thousands of numeric lines, nearly all of them plain decimal numbers
// separated by blanks: those are read with std::from_chars, which gives the same values as
// the C library and is many times faster. Any line where a field is not plain (a '+' sign,
// an exponent, "inf" or "nan", hexadecimal, a number running into letters, a value out of
// range, a missing field) goes to std::sscanf as a whole, so the result is always sscanf's.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "common/lines.h"

/// A field read and dropped: "%*d".
struct SkipInteger {};
/// A field read and dropped: "%*s".
struct SkipWord {};

namespace scan_detail {

template <typename Field>
constexpr std::string_view conversion_of() {
    if constexpr (std::is_same_v<Field, double>) return "%lf";
    if constexpr (std::is_same_v<Field, int>) return "%d";
    if constexpr (std::is_same_v<Field, long long>) return "%lld";
    if constexpr (std::is_same_v<Field, SkipInteger>) return "%*d";
    if constexpr (std::is_same_v<Field, SkipWord>) return "%*s";
    return "";
}

template <typename... Fields>
consteval bool format_matches(std::string_view format) {
    bool matches = true, first = true;
    ((matches = matches && (first || take_prefix(format, " ")) && take_prefix(format, conversion_of<Fields>()), first = false),
     ...);
    return matches && format.empty();
}

/// Reads `word` into `field` when it is a plain decimal number of the field's kind.
bool read_plain(std::string_view word, double& field);
bool read_plain(std::string_view word, int& field);
bool read_plain(std::string_view word, long long& field);
bool read_plain(std::string_view word, SkipInteger& field);
bool read_plain(std::string_view word, SkipWord& field);

template <typename Field>
auto assigned(Field* field) {
    if constexpr (std::is_same_v<Field, SkipInteger> || std::is_same_v<Field, SkipWord>)
        return std::tuple<>();
    else
        return std::tuple<Field*>(field);
}

}  // namespace scan_detail

/// A literal sscanf format whose conversions are checked, when the program is compiled, against
/// the fields it is used with: "%lf" double, "%d" int, "%lld" long long, "%*d" SkipInteger,
/// "%*s" SkipWord, separated by single blanks.
template <typename... Fields>
struct ScanFormat {
    const char* text;
    consteval ScanFormat(const char* format) : text(format) {
        if (!scan_detail::format_matches<Fields...>(format)) throw "the format does not match its fields";
    }
};

/// Reads the fields at the start of `text` as std::sscanf(text, format, fields...) does and
/// returns what it returns; `text` ends at its end (a NUL byte inside it ends it too).
template <typename... Fields>
int scan_numbers(std::string_view text, std::type_identity_t<ScanFormat<Fields...>> format, Fields*... fields) {
    text = text.substr(0, text.find('\0'));
    size_t at = 0;
    int assigned = 0;
    bool plain = true;
    auto read_field = [&](auto* field) {
        if (!plain) return;
        using Field = std::remove_pointer_t<decltype(field)>;
        std::remove_cv_t<Field> value{};
        if (!scan_detail::read_plain(take_word(text, at), value)) {
            plain = false;
            return;
        }
        if constexpr (!std::is_same_v<Field, SkipInteger> && !std::is_same_v<Field, SkipWord>) {
            *field = value;
            ++assigned;
        }
    };
    (read_field(fields), ...);
    if (plain) return assigned;
    const std::string line(text);
    return std::apply([&](auto*... pointers) { return std::sscanf(line.c_str(), format.text, pointers...); },
                      std::tuple_cat(scan_detail::assigned(fields)...));
}
