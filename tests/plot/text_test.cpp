#include "plot/text.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

// A font with a one-stroke "I" from (0, 0) to (0, 1) and a one-stroke "-" from (0, 0.5) to (1, 0.5),
// in normalised units.
std::unique_ptr<GlyphStore> test_font() {
    auto store = std::make_unique<GlyphStore>();
    store->glyphs['I'].stroke_count = 1;
    store->glyphs['I'].strokes[0] = {0.0, 0.0, 0.0, 1.0};
    store->glyphs['-'].stroke_count = 1;
    store->glyphs['-'].strokes[0] = {0.0, 0.5, 1.0, 0.5};
    store->glyphs[' '].stroke_count = 1;  // a page for the space is never drawn
    store->glyphs[' '].strokes[0] = {0.0, 0.0, 1.0, 1.0};
    return store;
}

std::string draw(const std::string& text, int rotation, int alignment, double x0 = 0, double y0 = 0,
                 int* count = nullptr) {
    auto font = test_font();
    std::ostringstream out;
    GerberPen pen;
    int processed = draw_stroke_text(out, pen, *font, text, 1.0, rotation, alignment, x0, y0);
    if (count != nullptr) *count = processed;
    return out.str();
}

}  // namespace

TEST(StrokeText, LeftAlignedCharactersAdvanceOnePitch) {
    int count = 0;
    EXPECT_EQ(draw("I I", 0, 0, 0, 0, &count),
              "X0Y0D02*\nY1000000D01*\nX2000000Y0D02*\nY1000000D01*\n");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(draw("-", 0, 0), "X0Y500000D02*\nX700000D01*\n");  // 0.7 of the size wide
}

TEST(StrokeText, MissingGlyphAdvancesLikeThePreviousCharacter) {
    EXPECT_EQ(draw("I?I", 0, 0), "X0Y0D02*\nY1000000D01*\nX2000000Y0D02*\nY1000000D01*\n");
    EXPECT_EQ(draw("?I", 0, 0), "X1000000Y0D02*\nY1000000D01*\n");
}

TEST(StrokeText, Rotations) {
    EXPECT_EQ(draw("II", 1, 0), "X0Y0D02*\nX-1000000D01*\nX0Y1000000D02*\nX-1000000D01*\n");
    EXPECT_EQ(draw("II", 2, 0), "X0Y0D02*\nY-1000000D01*\nX-1000000Y0D02*\nY-1000000D01*\n");
    EXPECT_EQ(draw("II", 3, 0), "X0Y0D02*\nX1000000D01*\nX0Y-1000000D02*\nX1000000D01*\n");
    EXPECT_EQ(draw("I", 7, 0), draw("I", 0, 0));
}

TEST(StrokeText, AlignmentOffsets) {
    // Two characters are (2 - 0.3) wide: centred the text starts 0.85 left of the origin.
    EXPECT_EQ(draw("II", 0, 1), "X-850000Y0D02*\nY1000000D01*\nX150000Y0D02*\nY1000000D01*\n");
    EXPECT_EQ(draw("II", 0, 2), "X-1700000Y0D02*\nY1000000D01*\nX-700000Y0D02*\nY1000000D01*\n");
    EXPECT_EQ(draw("II", 0, 5), draw("II", 0, 0));
}

TEST(StrokeText, LineFeedsStartTheNextLine) {
    EXPECT_EQ(draw("I\nI", 0, 0, 1, 1), "X1000000Y1000000D02*\nY2000000D01*\nX1000000Y-500000D02*\nY500000D01*\n");
    EXPECT_EQ(draw("I\nI", 1, 0, 1, 1), "X1000000Y1000000D02*\nX0D01*\nX2500000Y1000000D02*\nX1500000D01*\n");
    EXPECT_EQ(line_length("ab\ncd"), 2u);
    EXPECT_EQ(line_length("abc"), 3u);
}

TEST(StrokeText, EmptyTextWritesNothing) {
    int count = -1;
    EXPECT_EQ(draw("", 0, 0, 0, 0, &count), "");
    EXPECT_EQ(count, 0);
}
