#include "plot/text.h"

namespace {

struct Vector {
    double x, y;
};

Vector rotate(Vector v, TextRotation rotation) {
    switch (rotation) {
        case 1: return {-v.y, v.x};
        case 2: return {-v.x, -v.y};
        case 3: return {v.y, -v.x};
        default: return v;
    }
}

// One character pitch along the line direction.
Vector advance_for(TextRotation rotation, double size) { return rotate({size, 0.0}, rotation); }

}  // namespace

size_t line_length(std::string_view text) {
    size_t newline = text.find('\n');
    return newline == std::string_view::npos ? text.size() : newline;
}

int draw_stroke_text(std::ostream& file, GerberPen& pen, const GlyphStore& glyphs, std::string_view text, double size,
                     TextRotation rotation, TextAlign alignment, double x0, double y0) {
    const double width = CHAR_WIDTH_FACTOR * size;
    if (alignment > 2 || alignment < 0) alignment = 0;
    double offset = (static_cast<double>(line_length(text)) - (1 - CHAR_WIDTH_FACTOR)) * alignment * 0.5 * size;
    double cx = x0, cy = y0;
    // Before any character has set it, the advance is one pitch, as after a space.
    Vector advance = advance_for(rotation, size);
    int processed = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        const Glyph& glyph = glyphs.glyphs[c];
        if (c > 32 && glyph.stroke_count > 0) {
            for (int s = 0; s < glyph.stroke_count; ++s) {
                const Stroke& stroke = glyph.strokes[static_cast<size_t>(s)];
                Vector p1 = rotate({width * stroke.x1 - offset, size * stroke.y1}, rotation);
                Vector p2 = rotate({width * stroke.x2 - offset, size * stroke.y2}, rotation);
                draw_segment(file, pen, cx + p1.x, cy + p1.y, cx + p2.x, cy + p2.y);
            }
            advance = advance_for(rotation, size);
        } else if (c == '\n') {
            offset = static_cast<double>(line_length(text.substr(i + 1))) * alignment * 0.5 * size;
            advance = {0.0, 0.0};
            const double spacing = LINE_SPACING_FACTOR * size;
            switch (rotation) {
                case 1: cy = y0; cx += spacing; break;
                case 2: cx = x0; cy += spacing; break;
                case 3: cy = y0; cx -= spacing; break;
                default: cx = x0; cy -= spacing; break;
            }
        } else if (c == ' ') {
            advance = advance_for(rotation, size);
        }
        cx += advance.x;
        cy += advance.y;
        ++processed;
    }
    return processed;
}
