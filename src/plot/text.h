#pragma once
#include <ostream>
#include <string_view>

#include "plot/font.h"
#include "plot/gerber.h"

constexpr double CHAR_WIDTH_FACTOR = 0.7;
constexpr double LINE_SPACING_FACTOR = 1.5;

/// 0 normal, 1 turned 90 degrees counter-clockwise, 2 turned 180, 3 turned 90 clockwise.
using TextRotation = int;
/// 0 origin at the line's left end, 1 at its centre, 2 at its right end.
using TextAlign = int;

/// Characters before the first line feed.
size_t line_length(std::string_view text);

/// Draws `text` in the stroke font as segments with the selected aperture, `size` inches
/// high, from the origin (x0, y0); returns the number of characters processed.
int draw_stroke_text(std::ostream& file, GerberPen& pen, const GlyphStore& glyphs, std::string_view text, double size,
                     TextRotation rotation, TextAlign alignment, double x0, double y0);
