#include "plot/font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/fatal.h"
#include "common/files.h"
#include "common/text.h"
#include "platform/names.h"
#include "platform/paths.h"

namespace {

struct Entity {
    const char* text;
    char character;
};
constexpr Entity xml_entities[] = {{"&quot;", '"'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&lt;", '<'}, {"&gt;", '>'}};

// The font bytes read as chunks, each running up to and including the next '>'.
struct ChunkReader {
    const std::string& bytes;
    size_t position = 0;

    bool at_end() const { return position >= bytes.size(); }
    std::string read_tag_chunk() {
        size_t close = bytes.find('>', position);
        size_t end = close == std::string::npos ? bytes.size() : close + 1;
        std::string chunk = bytes.substr(position, end - position);
        position = end;
        // Like a C string, a chunk ends at its first NUL byte.
        size_t nul = chunk.find('\0');
        if (nul != std::string::npos) chunk.resize(nul);
        return chunk;
    }
};


struct FontBox {
    double min_x = 10000.0, min_y = 10000.0, max_x = 0.0, max_y = 0.0;

    void widen(const Stroke& s) {
        min_x = std::min({min_x, s.x1, s.x2});
        max_x = std::max({max_x, s.x1, s.x2});
        min_y = std::min({min_y, s.y1, s.y2});
        max_y = std::max({max_y, s.y1, s.y2});
    }
};

// Reads one page's layout lines into `glyph`; stops at the page's end, the file's end or 64 strokes.
void read_page_strokes(ChunkReader& reader, Glyph& glyph, FontBox& box) {
    int strokes = 0;
    while (strokes < MAX_GLYPH_STROKES) {
        std::string chunk;
        bool found_line = false;
        while (!reader.at_end()) {
            chunk = reader.read_tag_chunk();
            if (chunk.starts_with("</draw:page")) break;
            if (chunk.starts_with("<draw:line") && chunk.find("draw:layer=\"layout\"") != std::string::npos) {
                found_line = true;
                break;
            }
        }
        if (!found_line) break;
        Stroke& stroke = glyph.strokes[static_cast<size_t>(strokes)];
        stroke.x1 = attribute_number(chunk, ":x1=\"");
        stroke.y1 = attribute_number(chunk, ":y1=\"");
        stroke.x2 = attribute_number(chunk, ":x2=\"");
        stroke.y2 = attribute_number(chunk, ":y2=\"");
        box.widen(stroke);
        ++strokes;
    }
    glyph.stroke_count = strokes;
}

void clear_glyphs(GlyphStore& store) {
    for (Glyph& glyph : store.glyphs) glyph.stroke_count = 0;
    store.glyph_count = 0;
}

}  // namespace

double attribute_number(const std::string& chunk, const char* key) {
    size_t found = chunk.find(key);
    if (found == std::string::npos) return 0.0;
    double value = std::strtod(chunk.c_str() + found + std::strlen(key), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

char decode_xml_char(const std::string& text, size_t& position) {
    for (const Entity& entity : xml_entities) {
        if (text.compare(position, std::strlen(entity.text), entity.text) == 0) {
            position += std::strlen(entity.text);
            return entity.character;
        }
    }
    return position < text.size() ? text[position++] : '\0';
}

int parse_font_file(GlyphStore& store, const std::string& bytes) {
    ChunkReader reader{bytes};
    FontBox box;
    bool any_stroke = false;
    while (!reader.at_end()) {
        std::string chunk = reader.read_tag_chunk();
        if (!chunk.starts_with("<draw:page")) continue;
        const char* name_key = "draw:name=\"";
        size_t name = chunk.find(name_key);
        // A page without a name names no character: its lines are passed over.
        if (name == std::string::npos) continue;
        size_t position = name + std::strlen(name_key);
        if (position >= chunk.size()) continue;
        auto character = static_cast<unsigned char>(decode_xml_char(chunk, position));
        Glyph& glyph = store.glyphs[character];
        read_page_strokes(reader, glyph, box);
        any_stroke = any_stroke || glyph.stroke_count > 0;
        ++store.glyph_count;
    }
    if (!any_stroke) return store.glyph_count;

    double width = box.max_x - box.min_x;
    double height = box.max_y - box.min_y;
    // Strokes all on one line span no box to scale into: such a font has no usable glyphs.
    if (!(width > 0.0 && height > 0.0 && std::isfinite(width) && std::isfinite(height))) {
        clear_glyphs(store);
        return 0;
    }
    double sx = 1.0 / width;
    double sy = 9.0 / (7.0 * height);
    constexpr double DESCENDER = 2.0 / 7.0;
    for (Glyph& glyph : store.glyphs) {
        for (int i = 0; i < glyph.stroke_count; ++i) {
            Stroke& s = glyph.strokes[static_cast<size_t>(i)];
            s.x1 = (s.x1 - box.min_x) * sx;
            s.x2 = (s.x2 - box.min_x) * sx;
            s.y1 = (box.max_y - s.y1) * sy - DESCENDER;
            s.y2 = (box.max_y - s.y2) * sy - DESCENDER;
        }
    }
    return store.glyph_count;
}

std::optional<std::string> installed_font_path(const std::optional<std::string>& program) {
    if (!program) return std::nullopt;
    // <prefix>/bin/Tarnwick finds <prefix>/share/tarnwick/font.xml.
    std::filesystem::path prefix = file_system_path(*program).parent_path().parent_path();
    return name_of_path(prefix / "share" / "tarnwick" / DEFAULT_FONT_FILE);
}

int load_stroke_font(GlyphStore& store, const FontPlaces& places, int verbose, std::ostream& console) {
    std::string path = places.font_file;
    if (path.empty()) {
        std::string directory;
        if (!places.font_directory) {
            if (verbose != 0) print_to(console, "Environment variable \"%s\" not found\n\n", FONT_DIRECTORY_VARIABLE);
        } else {
            directory = *places.font_directory;
        }
        if (!directory.empty()) {
            if (verbose != 0) print_to(console, "\n  Font path: \"%s\"\n", directory.c_str());
            end_with_separator(directory);
        }
        path = directory + DEFAULT_FONT_FILE;
    }
    std::string bytes;
    if (!read_text_file(path, bytes)) {
        // A font the command file names is the one wanted; otherwise the installed one serves.
        const bool try_installed = places.font_file.empty() && places.installed_font && *places.installed_font != path;
        if (!try_installed || !read_text_file(*places.installed_font, bytes)) {
            std::string message = format_text("\nFont file \"%s\" not found\n", path.c_str());
            if (try_installed) message += format_text("  (also looked for \"%s\")\n", places.installed_font->c_str());
            throw FatalError(message);
        }
        if (verbose != 0) print_to(console, "\n  Font file: \"%s\"\n", places.installed_font->c_str());
    }
    int loaded = parse_font_file(store, bytes);
    if (verbose != 0) print_to(console, "\n%d Character font loaded\n\n", loaded);
    return 1;
}
