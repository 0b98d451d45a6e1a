#include "common/files.h"
#include "plot/font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "common/fatal.h"
#include "test_support.h"

namespace {

std::string line(double x1, double y1, double x2, double y2, const char* layer = "layout", const char* unit = "") {
    std::ostringstream text;
    text << "<draw:line draw:layer=\"" << layer << "\" svg:x1=\"" << x1 << unit << "\" svg:y1=\"" << y1 << unit
         << "\" svg:x2=\"" << x2 << unit << "\" svg:y2=\"" << y2 << unit << "\"/>";
    return text.str();
}

std::string page(const std::string& name, const std::string& lines) {
    return "<draw:page draw:name=\"" + name + "\">" + lines + "</draw:page>";
}

std::string document(const std::string& pages) {
    return "<?xml version=\"1.0\"?><office:document><office:body><office:drawing>" + pages +
           "</office:drawing></office:body></office:document>";
}

int parse(GlyphStore& store, const std::string& text) {
    std::istringstream in(text);
    return parse_font_file(store, read_text_stream(in));
}

}  // namespace

TEST(FontEntities, DecodeInTableOrder) {
    std::string text = "&amp;&lt;x&gt;&quot;&apos;&bogus;";
    size_t position = 0;
    std::string decoded;
    while (position < text.size()) decoded += decode_xml_char(text, position);
    EXPECT_EQ(decoded, "&<x>\"'&bogus;");
}

TEST(FontAttributes, NumbersAfterTheirKeys) {
    std::string chunk = "<draw:line svg:x1=\"1.5cm\" svg:y1=\"-2\" foo:x2=\"3e-1mm\">";
    EXPECT_DOUBLE_EQ(attribute_number(chunk, ":x1=\""), 1.5);
    EXPECT_DOUBLE_EQ(attribute_number(chunk, ":y1=\""), -2.0);
    EXPECT_DOUBLE_EQ(attribute_number(chunk, ":x2=\""), 0.3);
    EXPECT_DOUBLE_EQ(attribute_number(chunk, ":y2=\""), 0.0);
    EXPECT_DOUBLE_EQ(attribute_number("<x svg:x1=\"1e999\">", ":x1=\""), 0.0);
}

TEST(FontPages, NamesLayersAndNormalisation) {
    auto store = std::make_unique<GlyphStore>();
    // Strokes span x 1..3 and y 2..9.
    int pages = parse(*store, document(page("&amp;", line(2, 2, 1, 9) + line(0, 0, 50, 50, "other")) +
                                       page("AB", line(3, 5, 3, 9))));
    EXPECT_EQ(pages, 2);
    const Glyph& ampersand = store->glyphs['&'];
    ASSERT_EQ(ampersand.stroke_count, 1);
    EXPECT_DOUBLE_EQ(ampersand.strokes[0].x1, 0.5);
    EXPECT_DOUBLE_EQ(ampersand.strokes[0].y1, 1.0);
    EXPECT_DOUBLE_EQ(ampersand.strokes[0].x2, 0.0);
    EXPECT_NEAR(ampersand.strokes[0].y2, -2.0 / 7.0, 1e-15);
    EXPECT_EQ(store->glyphs['A'].stroke_count, 1);
    EXPECT_DOUBLE_EQ(store->glyphs['A'].strokes[0].x1, 1.0);
    EXPECT_EQ(store->glyphs['B'].stroke_count, 0);
}

TEST(FontPages, SixtyFourStrokesAndRepeatedPages) {
    std::string many;
    for (int i = 0; i < 70; ++i) many += line(i, 0, i, 10);
    auto store = std::make_unique<GlyphStore>();
    EXPECT_EQ(parse(*store, document(page("M", many) + page("A", line(0, 0, 1, 1)) + page("A", line(0, 0, 2, 2) + line(1, 1, 3, 3)))), 3);
    EXPECT_EQ(store->glyphs['M'].stroke_count, 64);
    EXPECT_EQ(store->glyphs['A'].stroke_count, 2);
}

TEST(FontPages, UnitSuffixesAreIgnored) {
    auto plain = std::make_unique<GlyphStore>(), suffixed = std::make_unique<GlyphStore>();
    parse(*plain, document(page("A", line(1, 2, 3, 4) + line(1.5, 2.5, 2, 9))));
    parse(*suffixed, document(page("A", line(1, 2, 3, 4, "layout", "cm") + line(1.5, 2.5, 2, 9, "layout", "cm"))));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(plain->glyphs['A'].strokes[i].x1, suffixed->glyphs['A'].strokes[i].x1);
        EXPECT_EQ(plain->glyphs['A'].strokes[i].y2, suffixed->glyphs['A'].strokes[i].y2);
    }
}

TEST(FontPages, IndentedFilesAndPagesWithoutNamesYieldNothing) {
    auto store = std::make_unique<GlyphStore>();
    EXPECT_EQ(parse(*store, "<office:drawing>\n  <draw:page draw:name=\"A\">\n    " + line(0, 0, 1, 1) + "</draw:page>"), 0);
    EXPECT_EQ(parse(*store, document("<draw:page draw:style=\"x\">" + line(0, 0, 1, 1) + "</draw:page>" +
                                     page("B", line(0, 0, 2, 3)))),
              1);
    EXPECT_EQ(store->glyphs['B'].stroke_count, 1);
}

TEST(FontPages, StrokesOnOneLineLoadNoGlyphs) {
    auto store = std::make_unique<GlyphStore>();
    EXPECT_EQ(parse(*store, document(page("A", line(1, 0, 1, 5)) + page("B", line(1, 2, 1, 3)))), 0);
    EXPECT_EQ(store->glyphs['A'].stroke_count, 0);
    auto flat = std::make_unique<GlyphStore>();
    EXPECT_EQ(parse(*flat, document(page("A", line(0, 4, 5, 4)))), 0);
    EXPECT_EQ(flat->glyphs['A'].stroke_count, 0);
}

TEST(FontPages, HugeTagIsReadWhole) {
    auto store = std::make_unique<GlyphStore>();
    std::string padding(100000, 'x');
    EXPECT_EQ(parse(*store, document("<draw:page draw:name=\"Q\" pad=\"" + padding + "\">" + line(0, 0, 1, 1) + "</draw:page>")), 1);
    EXPECT_EQ(store->glyphs['Q'].stroke_count, 1);
}

TEST(FontFile, SearchOrderAndMessages) {
    ScratchDir dir;
    write_file(dir.file("font.xml"), document(page("A", line(0, 0, 1, 1))));
    write_file(dir.file("named.xml"), document(page("B", line(0, 0, 1, 1))));
    std::ostringstream console;
    auto store = std::make_unique<GlyphStore>();
    EXPECT_EQ(load_stroke_font(*store, {"", dir.path, std::nullopt}, 1, console), 1);
    EXPECT_EQ(console.str(), "\n  Font path: \"" + dir.path + "\"\n\n1 Character font loaded\n\n");
    std::ostringstream slash;
    load_stroke_font(*store, {"", dir.path + "/", std::nullopt}, 0, slash);
    EXPECT_EQ(slash.str(), "");
    std::ostringstream named;
    auto named_store = std::make_unique<GlyphStore>();
    load_stroke_font(*named_store, {dir.file("named.xml"), "/nowhere", std::nullopt}, 1, named);
    EXPECT_EQ(named.str(), "\n1 Character font loaded\n\n");
    EXPECT_EQ(named_store->glyphs['B'].stroke_count, 1);
}

TEST(FontFile, MissingFileIsFatal) {
    std::ostringstream console;
    auto store = std::make_unique<GlyphStore>();
    try {
        load_stroke_font(*store, {"", "/no/such/dir", std::nullopt}, 0, console);
        FAIL() << "no error";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "\nFont file \"/no/such/dir/font.xml\" not found\n");
    }
    std::ostringstream verbose;
    try {
        load_stroke_font(*store, {"", std::nullopt, std::nullopt}, 1, verbose);
    } catch (const FatalError&) {
    }
    EXPECT_EQ(verbose.str().substr(0, 44), "Environment variable \"VexlorFont\" not found\n");
}

TEST(FontFile, InstalledFontComesLastAndIsNamedWhenMissing) {
    ScratchDir dir;
    write_file(dir.file("installed.xml"), document(page("I", line(0, 0, 1, 1))));
    const std::string installed = dir.file("installed.xml");
    // Found nowhere else, the installed font serves; a font the command file names does not fall back.
    std::ostringstream console;
    auto store = std::make_unique<GlyphStore>();
    EXPECT_EQ(load_stroke_font(*store, {"", dir.file("empty"), installed}, 1, console), 1);
    EXPECT_EQ(store->glyphs['I'].stroke_count, 1);
    EXPECT_EQ(console.str(), "\n  Font path: \"" + dir.file("empty") + "\"\n\n  Font file: \"" + installed +
                                 "\"\n\n1 Character font loaded\n\n");
    try {
        load_stroke_font(*store, {dir.file("named.xml"), std::nullopt, installed}, 0, console);
        FAIL() << "a missing named font was replaced";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "\nFont file \"" + dir.file("named.xml") + "\" not found\n");
    }
    try {
        load_stroke_font(*store, {"", "/no/such/dir", dir.file("gone.xml")}, 0, console);
        FAIL() << "no error";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "\nFont file \"/no/such/dir/font.xml\" not found\n  (also looked for \"" +
                                                 dir.file("gone.xml") + "\")\n");
    }
    EXPECT_EQ(installed_font_path(std::string("/opt/tw/bin/Tarnwick")), "/opt/tw/share/tarnwick/font.xml");
    EXPECT_EQ(installed_font_path(std::nullopt), std::nullopt);
}

TEST(ShippedFont, EveryPrintableCharacterAndEveryLabelHasStrokes) {
    std::ostringstream console;
    auto store = std::make_unique<GlyphStore>();
    load_stroke_font(*store, {source_path("examples/font.xml"), std::nullopt, std::nullopt}, 0, console);
    EXPECT_EQ(store->glyph_count, 94);
    for (int c = 33; c <= 126; ++c) EXPECT_GT(store->glyphs[c].stroke_count, 0) << static_cast<char>(c);
    for (const char* side : {"Top", "Bottom"}) {
        for (const char* group : {" SMD Centroids", " Thru-Hole Centroids", " Mixed Tech Centroids", " Null Centroids", " Glue"}) {
            for (char c : std::string(side) + group) {
                if (c == ' ') continue;
                EXPECT_GT(store->glyphs[static_cast<unsigned char>(c)].stroke_count, 0) << c;
            }
        }
    }
    // The glyphs fill the normalised box: x 0..1, y -2/7..1.
    double min_y = 1, max_y = 0, max_x = 0;
    for (int c = 33; c <= 126; ++c)
        for (int s = 0; s < store->glyphs[c].stroke_count; ++s) {
            const Stroke& stroke = store->glyphs[c].strokes[s];
            min_y = std::min({min_y, stroke.y1, stroke.y2});
            max_y = std::max({max_y, stroke.y1, stroke.y2});
            max_x = std::max({max_x, stroke.x1, stroke.x2});
        }
    EXPECT_NEAR(min_y, -2.0 / 7.0, 1e-12);
    EXPECT_NEAR(max_y, 1.0, 1e-12);
    EXPECT_NEAR(max_x, 1.0, 1e-12);
}
