#pragma once
// The stroke font: one page per character in an OpenDocument drawing, each
// character drawn from straight lines on the "layout" layer. Read with a small byte
// scanner and rescaled into one normalised box shared by all characters.
#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

constexpr int MAX_GLYPH_STROKES = 64;
constexpr const char* FONT_DIRECTORY_VARIABLE = "VexlorFont";
constexpr const char* DEFAULT_FONT_FILE = "font.xml";

/// One straight line; normalised x runs 0..1, y -2/7..1 with y = 0 the baseline.
struct Stroke {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

struct Glyph {
    int stroke_count = 0;
    std::array<Stroke, MAX_GLYPH_STROKES> strokes{};
};

/// Glyphs indexed by the character code as an unsigned byte.
struct GlyphStore {
    std::array<Glyph, 256> glyphs{};
    int glyph_count = 0;
};

/// Where the font may be: the command file's font file (used alone when given), the font
/// directory variable's value, and the font installed with the program.
struct FontPlaces {
    std::string font_file;
    std::optional<std::string> font_directory;
    std::optional<std::string> installed_font;
};

/// The installed font for the program at `program`: <prefix>/share/tarnwick/font.xml for
/// <prefix>/bin/Tarnwick; none when the program's path is unknown.
std::optional<std::string> installed_font_path(const std::optional<std::string>& program);

/// Finds the font file (the given name, else font.xml in the font directory or else in the working
/// directory, then the installed font), loads it into `store` and returns 1; a font found nowhere
/// is fatal.
int load_stroke_font(GlyphStore& store, const FontPlaces& places, int verbose, std::ostream& console);

/// Reads the pages of an open font file and normalises the strokes; returns the pages stored.
int parse_font_file(GlyphStore& store, const std::string& bytes);

/// The number after the first occurrence of `key` in `chunk`, 0 when the key is absent
/// or the number is not finite.
double attribute_number(const std::string& chunk, const char* key);

/// One character at `position`, XML entities decoded; advances `position` past it.
char decode_xml_char(const std::string& text, size_t& position);
