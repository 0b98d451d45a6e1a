#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "common/lines.h"
#include "common/numbers.h"
#include "geometry/geometry.h"
#include "project/footprints.h"
#include "project/scan.h"

namespace geometry {
namespace {

constexpr const char* BLANKS = " \t\r";

// The blank-separated fields of a line, read one by one; a missing field reads as 0.
struct Fields {
    std::string_view rest;

    std::string_view word() {
        size_t start = std::min(rest.find_first_not_of(BLANKS), rest.size());
        size_t end = std::min(rest.find_first_of(BLANKS, start), rest.size());
        std::string_view found = rest.substr(start, end - start);
        rest.remove_prefix(end);
        return found;
    }

    double number() {
        std::string_view text = word();
        if (text.starts_with('+')) text.remove_prefix(1);
        double value = 0.0;
        bool read = std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{};
        return read && usable_number(value) ? value : 0.0;
    }

    // Read as a number first, so that "1e999" gives 0 rather than 1 and "90.0" gives 90.
    int integer() {
        double value = number();
        return std::fabs(value) <= 1e9 ? static_cast<int>(value) : 0;
    }

    // Braced initialisers are evaluated in order: the fields are read left to right.
    Corner corner(double scale) { return {number() * scale, number() * scale, integer()}; }

    // A quoted name up to its closing quote (or the line's end), else a bare word.
    std::string name() {
        rest.remove_prefix(std::min(rest.find_first_not_of(BLANKS), rest.size()));
        if (!take_prefix(rest, "\"")) return std::string(word());
        size_t quote = std::min(rest.find('"'), rest.size());
        std::string found(rest.substr(0, quote));
        rest.remove_prefix(std::min(quote + 1, rest.size()));
        return found;
    }
};

enum class Section { OTHER, FOOTPRINTS, BOARD };

struct Reader {
    ProjectGeometry project;
    Section section = Section::OTHER;
    double scale = INCH_PER_NM;  // the layout editor's native unit until a units line says otherwise
    bool in_footprint = false;
    FootprintGeometry footprint;
    bool in_polyline = false;
    bool in_outline = false;  // corner lines go to the last board outline
    Contour contour;          // the board contour being read, styles as in the file

    void end_footprint() {
        if (in_footprint) {
            std::string name = footprint.name;
            project.footprints.try_emplace(std::move(name), std::move(footprint));
        }
        footprint = FootprintGeometry{};
        in_footprint = false;
        in_polyline = false;
    }

    // The file gives each board corner the style of the side starting at it; a contour keeps
    // the style of the side ending at each corner, as footprint outline lines do.
    void end_contour() {
        if (contour.empty()) return;
        int closing_style = contour.back().style;
        for (size_t i = contour.size() - 1; i > 0; --i) contour[i].style = contour[i - 1].style;
        contour.front().style = closing_style;
        project.board_outlines.back().push_back(std::move(contour));
        contour.clear();
    }

    void end_outline() {
        if (!in_outline) return;
        end_contour();
        if (project.board_outlines.back().empty()) project.board_outlines.pop_back();
        in_outline = false;
    }

    void footprint_line(std::string_view line) {
        if (take_prefix(line, "name: \"")) {
            end_footprint();
            in_footprint = true;
            footprint.name = quoted_value(line, false);
            return;
        }
        if (line.starts_with("units:")) {
            in_polyline = false;
            scale = units_scale(line);  // as the footprint reader takes it
            return;
        }
        if (!in_footprint) return;
        Fields fields{line};
        if (in_polyline) {
            Polyline& polyline = footprint.outlines.back();
            if (take_prefix(fields.rest, "next_corner:")) {
                polyline.corners.push_back(fields.corner(scale));
                return;
            }
            if (take_prefix(fields.rest, "close_polyline:")) {
                polyline.closed = true;
                polyline.closing_style = fields.integer();
                return;
            }
            in_polyline = false;
        }
        if (take_prefix(fields.rest, "pin:")) {
            std::string name = fields.name();
            footprint.pins.push_back(
                {std::move(name), fields.number() * scale, fields.number() * scale, fields.number() * scale,
                 fields.integer(), {}});
        } else if (take_prefix(fields.rest, "top_pad:") || take_prefix(fields.rest, "bottom_pad:") ||
                   take_prefix(fields.rest, "inner_pad:")) {
            if (footprint.pins.empty()) return;
            int layer = line[0] == 't' ? LAYER_TOP : line[0] == 'b' ? LAYER_BOTTOM : LAYER_INNER;
            footprint.pins.back().pads.push_back({layer, fields.integer(), fields.number() * scale,
                                                  fields.number() * scale, fields.number() * scale,
                                                  fields.number() * scale});
        } else if (take_prefix(fields.rest, "outline_polyline:")) {
            double width = fields.number() * scale;
            Corner first{fields.number() * scale, fields.number() * scale, SIDE_STRAIGHT};
            footprint.outlines.push_back({width, {first}, false, SIDE_STRAIGHT});
            in_polyline = true;
        }
    }

    void board_line(std::string_view line) {
        Fields fields{line};
        if (take_prefix(fields.rest, "outline:")) {
            end_outline();
            project.board_outlines.emplace_back();
            in_outline = true;
            return;
        }
        if (!in_outline) return;
        if (!take_prefix(fields.rest, "corner:")) {
            end_outline();
            return;
        }
        fields.word();  // the corner's index: corners are taken in file order
        contour.push_back(fields.corner(INCH_PER_NM));
        if (fields.integer() != 0) end_contour();
    }

    void end_section() {
        end_footprint();
        end_outline();
    }

    void line(std::string_view text) {
        text.remove_prefix(std::min(text.find_first_not_of(BLANKS), text.size()));
        text.remove_suffix(text.size() - std::min(text.find_last_not_of(BLANKS) + 1, text.size()));
        if (text.starts_with('[')) {
            end_section();
            section = text.starts_with("[footprints]") ? Section::FOOTPRINTS
                      : text.starts_with("[board]")    ? Section::BOARD
                                                       : Section::OTHER;
            return;
        }
        if (section == Section::FOOTPRINTS) footprint_line(text);
        if (section == Section::BOARD) board_line(text);
    }
};

}  // namespace

ProjectGeometry read_project_geometry(std::string_view text) {
    Reader reader;
    while (!text.empty()) {
        size_t end = text.find('\n');
        if (end == std::string_view::npos) end = text.size();
        reader.line(text.substr(0, end));
        text.remove_prefix(end == text.size() ? end : end + 1);
    }
    reader.end_section();
    reader.project.board = flatten_board(reader.project);
    return std::move(reader.project);
}

const FootprintGeometry* find_footprint(const ProjectGeometry& project, std::string_view name) {
    auto found = project.footprints.find(name);
    return found == project.footprints.end() ? nullptr : &found->second;
}

}  // namespace geometry
