#include "project/footprints.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/fatal.h"
#include "common/lines.h"
#include "common/numbers.h"
#include "common/scan_numbers.h"
#include "common/text.h"
#include "project/pins.h"
#include "project/scan.h"

namespace {

const std::string_view PROJECT_NAME_KEY = "project_name: \"";
const std::string_view GLUE_WIDTH_KEY = "default_glue_width: \"";
const std::string_view NAME_KEY = "name: \"";
const std::string_view AUTHOR_KEY = "author: \"";
const std::string_view SOURCE_KEY = "source: \"";
const std::string_view DESCRIPTION_KEY = "description: \"";
const std::string_view UNITS_KEY = "units:";
const std::string_view SEL_RECT_KEY = "sel_rect:";
const std::string_view CENTROID_KEY = "centroid:";
const std::string_view ADHESIVE_KEY = "adhesive:";
const std::string_view CORNER_KEY = "corner:";

void read_header(LineCursor& cursor, Project& project, std::ostream& console) {
    for (;;) {
        if (cursor.at_end()) throw FatalError("\nFootprints not found\n");
        std::string_view line = cursor.next();
        if (starts_with_key(line, "[footprints]")) return;
        if (starts_with_key(line, PROJECT_NAME_KEY)) {
            project.project_name = quoted_value(line.substr(PROJECT_NAME_KEY.size()), false);
            print_to(console, "Project: %s\n\n", project.project_name.c_str());
        } else if (starts_with_key(line, GLUE_WIDTH_KEY)) {
            double width = 0.0;
            if (scan_numbers(line.substr(GLUE_WIDTH_KEY.size()), "%lf", &width) == 1 && std::isfinite(width))
                project.default_glue_width = width * INCH_PER_NM;
        }
    }
}

// Reads the centroid and the adhesive spots of a footprint ahead of the block scan:
// from the line after "units:" up to the footprint's "n_pins" line.
void look_ahead(std::string_view text, size_t start, double scale, double default_glue_width,
                FootprintRecord& footprint) {
    LineCursor cursor{text, start};
    while (!cursor.at_end()) {
        std::string_view line = cursor.next();
        if (starts_with_key(line, "n_pins")) break;
        if (!starts_with_key(line, CENTROID_KEY)) continue;
        double x = 0.0, y = 0.0;
        int angle = 0;
        SkipInteger skipped;
        int read = scan_numbers(line.substr(CENTROID_KEY.size()), "%*d %lf %lf %d", &skipped, &x, &y, &angle);
        footprint.centroid_x = finite_or_zero(x) * scale;
        footprint.centroid_y = finite_or_zero(y) * scale;
        footprint.centroid_angle = read == 3 ? angle : 0;
        footprint.centroid_given = 1;
        break;
    }

    cursor.position = start;
    footprint.glue.count = 0;
    while (!cursor.at_end()) {
        std::string_view line = cursor.next();
        if (starts_with_key(line, "n_pins")) break;
        if (!starts_with_key(line, ADHESIVE_KEY)) continue;
        double dia = 0.0, x = 0.0, y = 0.0;
        SkipInteger skipped;
        scan_numbers(line.substr(ADHESIVE_KEY.size()), "%*d %lf %lf %lf", &skipped, &dia, &x, &y);
        dia = finite_or_zero(dia);
        footprint.glue.add(finite_or_zero(x) * scale, finite_or_zero(y) * scale,
                           dia == 0.0 ? default_glue_width : dia * scale);
    }
}

// Reads the board outlines of the "[board]" section, up to the next section: an "outline:" line
// and its "corner:" lines, each "index x y style contour" in nanometres. The last number is the
// contour the corner belongs to: 0 the outer edge, 1, 2, ... its cut-outs (without it, 0). Any
// other line ends the outline.
void read_board_outlines(LineCursor& cursor, Project& project) {
    std::vector<std::vector<BoardContour>>& outlines = project.board_outlines;
    std::vector<int> contour_numbers;  // of the last outline's contours
    auto end_outline = [&] {
        // The file gives each corner the style of the side that starts at it; a contour keeps the
        // style of the side that ends at each corner, as footprint outline lines do.
        for (BoardContour& contour : outlines.back()) {
            int carried = contour.back().style;  // a contour has a corner
            for (OutlineCorner& corner : contour) std::swap(corner.style, carried);
        }
        if (outlines.back().empty()) outlines.pop_back();
        contour_numbers.clear();
    };
    bool in_outline = false;
    while (!cursor.at_end()) {
        std::string_view line = cursor.next();
        if (line.starts_with('[')) break;
        if (starts_with_key(line, "outline:")) {
            if (in_outline) end_outline();
            outlines.emplace_back();
            in_outline = true;
        } else if (in_outline && starts_with_key(line, CORNER_KEY)) {
            double x = 0.0, y = 0.0;
            int style = SIDE_STRAIGHT, number = 0;
            SkipInteger index;  // corners are taken in file order
            scan_numbers(line.substr(CORNER_KEY.size()), "%*d %lf %lf %d %d", &index, &x, &y, &style, &number);
            const size_t contour = static_cast<size_t>(
                std::find(contour_numbers.begin(), contour_numbers.end(), number) - contour_numbers.begin());
            if (contour == contour_numbers.size()) {
                contour_numbers.push_back(number);
                outlines.back().emplace_back();
            }
            outlines.back()[contour].push_back({usable_or_zero(x) * INCH_PER_NM, usable_or_zero(y) * INCH_PER_NM, style});
        } else if (in_outline) {
            end_outline();
            in_outline = false;
        }
    }
    if (in_outline) end_outline();
}

}  // namespace

double units_scale(std::string_view units_line) {
    return units_line.find("MIL") != std::string_view::npos ? INCH_PER_MIL : INCH_PER_NM;
}

int read_footprints(std::string_view text, const LoadContext& context, Project& project) {
    LineCursor cursor{text};
    read_header(cursor, project, context.console);
    // Room for every footprint the rest of the file could hold, so that the table is never moved
    // while it fills; untouched room costs address space only.
    constexpr size_t SMALLEST_FOOTPRINT_BLOCK = 64;
    project.footprints.records.reserve((text.size() - cursor.position) / SMALLEST_FOOTPRINT_BLOCK + 1);

    // A file without a units line before its first footprint's geometry is read as nanometres,
    // the layout editor's native unit.
    double scale = INCH_PER_NM;
    bool in_block = false;
    FootprintRecord footprint;
    for (;;) {
        if (cursor.at_end()) throw FatalError("\nPremature EOF in Footprints\n");
        std::string_view line = cursor.next();
        if (starts_with_key(line, NAME_KEY)) {
            // A block that never reached its "sel_rect:" line is closed by the next block's name.
            footprint = FootprintRecord{};
            footprint.name = quoted_value(line.substr(NAME_KEY.size()), false);
            in_block = true;
            continue;
        }
        if (!in_block) {
            if (!starts_with_key(line, "[board]")) continue;
            read_board_outlines(cursor, project);
            return project.footprint_count();
        }
        if (starts_with_key(line, AUTHOR_KEY)) {
            footprint.author = quoted_value(line.substr(AUTHOR_KEY.size()), true);
        } else if (starts_with_key(line, SOURCE_KEY)) {
            footprint.source = quoted_value(line.substr(SOURCE_KEY.size()), true);
        } else if (starts_with_key(line, DESCRIPTION_KEY)) {
            footprint.description = quoted_value(line.substr(DESCRIPTION_KEY.size()), true);
        } else if (starts_with_key(line, UNITS_KEY)) {
            scale = units_scale(line);
            look_ahead(text, cursor.position, scale, project.default_glue_width, footprint);
        } else if (starts_with_key(line, SEL_RECT_KEY)) {
            SelectionRect rect;
            scan_numbers(line.substr(SEL_RECT_KEY.size()), "%lf %lf %lf %lf", &rect.x1, &rect.y1, &rect.x2, &rect.y2);
            complete_footprint(footprint, scale, rect, cursor, context);
            add_footprint(project.footprints, std::move(footprint));
            footprint = FootprintRecord{};
            in_block = false;
        } else if (context.read_copper) {
            read_outline_line(line, scale, footprint);
        }
    }
}
