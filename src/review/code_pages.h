#pragma once
// The single-byte code pages the review page's texts may be written in, each a table of the
// characters of bytes 0x80 to 0xFF (below that they are ASCII), and the test for UTF-8 that
// decides when no code page is named.
#include <string>
#include <string_view>

/// A code page by its name, with the characters of its bytes 0x80 to 0xFF.
struct CodePage {
    const char* name;
    char16_t high[128];
};

/// The code page of this name, in any letter case; nullptr when there is none.
const CodePage* find_code_page(std::string_view name);

/// Windows-1252, the code page texts are read in when they are not UTF-8.
const CodePage& windows_1252();

/// The names of the known code pages, separated by ", ".
std::string code_page_names();

/// True when `text` is valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF).
bool valid_utf8(std::string_view text);

/// Appends the character of `byte` in `page` to `out`, as UTF-8.
void append_decoded(std::string& out, unsigned char byte, const CodePage& page);
