// The stroke font loader and stroke text: every label drawn in every rotation and
// alignment must give finite Gerber words.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "common/files.h"
#include "plot/font.h"
#include "plot/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto store = std::make_unique<GlyphStore>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    parse_font_file(*store, read_text_stream(in));
    std::ostringstream out;
    GerberPen pen;
    for (int rotation = 0; rotation < 4; ++rotation)
        for (int alignment = 0; alignment < 3; ++alignment)
            draw_stroke_text(out, pen, *store, "Top SMD Centroids\nBottom Glue &<>\"'", 0.1, rotation, alignment, 0.75,
                             -0.85);
    const std::string gerber = out.str();
    if (gerber.find("nan") != std::string::npos || gerber.find("inf") != std::string::npos) __builtin_trap();
    return 0;
}
