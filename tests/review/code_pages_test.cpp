// The code pages of the review page's texts: a few characters of each table, at both ends of
// its upper half (a table shifted by one entry fails), the UTF-8 test and the names.
#include "review/code_pages.h"

#include <gtest/gtest.h>

TEST(CodePages, DecodeTheUpperHalfAsTheStandardsSay) {
    const struct {
        const char* page;
        unsigned char byte;
        const char* utf8;
    } cases[] = {
        {"windows-1250", 0x80, "\u20AC"}, {"windows-1250", 0x8A, "\u0160"}, {"windows-1250", 0xFF, "\u02D9"},
        {"windows-1251", 0x80, "\u0402"}, {"windows-1251", 0xC0, "\u0410"}, {"windows-1251", 0xFF, "\u044F"},
        {"windows-1252", 0x80, "\u20AC"}, {"windows-1252", 0x81, "\u0081"}, {"windows-1252", 0xFF, "\u00FF"},
        {"iso-8859-1", 0x80, "\u0080"},   {"iso-8859-1", 0xE9, "\u00E9"},   {"iso-8859-2", 0xA1, "\u0104"},
        {"iso-8859-2", 0xFF, "\u02D9"},   {"iso-8859-5", 0xB0, "\u0410"},   {"iso-8859-5", 0xFF, "\u045F"},
        {"koi8-r", 0x80, "\u2500"},       {"koi8-r", 0xC1, "\u0430"},       {"koi8-r", 0xFF, "\u042A"},
        {"cp866", 0x80, "\u0410"},        {"cp866", 0xB0, "\u2591"},        {"cp866", 0xFF, "\u00A0"},
        {"cp437", 0x80, "\u00C7"},        {"cp437", 0xE0, "\u03B1"},        {"cp437", 0xFF, "\u00A0"},
    };
    for (const auto& c : cases) {
        const CodePage* page = find_code_page(c.page);
        ASSERT_NE(page, nullptr) << c.page;
        std::string decoded;
        append_decoded(decoded, c.byte, *page);
        append_decoded(decoded, 'A', *page);
        EXPECT_EQ(decoded, std::string(c.utf8) + "A") << c.page << " byte " << int{c.byte};
    }
    EXPECT_EQ(&windows_1252(), find_code_page("windows-1252"));
    EXPECT_EQ(find_code_page("KOI8-R"), find_code_page("koi8-r"));
    EXPECT_EQ(find_code_page("windows1251"), nullptr);
    EXPECT_EQ(find_code_page(""), nullptr);
    EXPECT_EQ(code_page_names(), "windows-1250, windows-1251, windows-1252, iso-8859-1, iso-8859-2, iso-8859-5, "
                                 "koi8-r, cp866, cp437");
}

TEST(CodePages, ValidUtf8IsWhatTheStandardAllows) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"", true},
        {"C12 100n", true},
        {"\xC2\xB5"
         "F",
         true},                               // µF
        {"\xE2\x82\xAC", true},               // the euro sign
        {"\xF0\x9F\x98\x80", true},           // beyond the first plane
        {"\xF4\x8F\xBF\xBF", true},           // the last code point
        {"\xB5"
         "F",
         false},                              // µF in Windows-1252
        {"\xCF\xE8", false},                  // Cyrillic in Windows-1251
        {"\xC0\xAF", false},                  // an overlong "/"
        {"\xE0\x80\xAF", false},              // another one
        {"\xED\xA0\x80", false},              // a surrogate
        {"\xF4\x90\x80\x80", false},          // above U+10FFFF
        {"\xE2\x82", false},                  // cut short
        {"\xE2\x28\xA1", false},              // a bad continuation
        {"\xF8\x88\x80\x80\x80", false},      // five bytes
    };
    for (const auto& c : cases) EXPECT_EQ(valid_utf8(c.text), c.valid) << c.text;
}
