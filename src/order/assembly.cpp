#include "order/assembly.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/fatal.h"
#include "common/line_writer.h"
#include "common/numbers.h"

namespace {

// A plain number that fills the whole text.
bool read_number(std::string_view text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && usable_number(value);
}

// Rows gather in the writer and go out in pieces of some 64 KiB: a large panel has many rows.
constexpr size_t PIECE = size_t{1} << 16;

void write_piece(std::ostream& out, LineWriter& rows, bool last) {
    if (!last && rows.text().size() < PIECE) return;
    out << rows.text();
    rows.clear();
}

// One row of the bill of materials: the parts of one value and footprint that are all fitted,
// or all not, gathered in designator order.
struct BomRow {
    std::string value;
    std::string_view shape;
    int technology = TECH_SMD;
    bool fitted = true;
    int quantity = 0;
    std::string designators;
    bool top = false, bottom = false;
    std::string_view info;  // the first part's information text
    bool same_info = true;  // every part's text is `info`
};

void add_part(BomRow& row, const PartRecord& part) {
    if (row.quantity++ > 0) row.designators += ", ";
    row.designators += part.ref_des;
    (is_bottom(part) ? row.bottom : row.top) = true;
    row.same_info = row.same_info && part.info_text == row.info;
}

void write_row(LineWriter& rows, const BomRow& row) {
    rows.integer(row.quantity, 1).put(',').csv(row.value).put(',').csv(row.shape).put(',').csv(row.designators);
    rows.put(',').put(row.top && row.bottom ? "Both" : row.bottom ? "Bottom" : "Top").put(',');
    rows.put(technology_name(row.technology)).put(',').csv(row.same_info ? row.info : "");
    rows.put(row.fitted ? ",yes\n" : ",no\n");
}

}  // namespace

bool parse_origin(std::string_view text, OriginChoice& choice) {
    if (text == "file") {
        choice = OriginChoice{};
        return true;
    }
    if (text == "board") {
        choice = OriginChoice{OriginChoice::BOARD_CORNER, 0.0, 0.0};
        return true;
    }
    const size_t comma = text.find(',');
    OriginChoice point{OriginChoice::GIVEN_POINT, 0.0, 0.0};
    if (comma == std::string_view::npos || !read_number(text.substr(0, comma), point.x) ||
        !read_number(text.substr(comma + 1), point.y))
        return false;
    choice = point;
    return true;
}

BoardPoint placement_origin(const OriginChoice& choice, const Project& project, const ReportUnits& units) {
    switch (choice.kind) {
        case OriginChoice::GIVEN_POINT:
            return {choice.x / units.placement.per_inch, choice.y / units.placement.per_inch};
        case OriginChoice::BOARD_CORNER: {
            // An arc between two corners stays inside their box: the corners' box is the board's.
            BoardPoint corner{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
            for (const std::vector<BoardContour>& outline : project.board_outlines)
                for (const BoardContour& contour : outline)
                    for (const OutlineCorner& point : contour) {
                        corner.x = std::min(corner.x, point.x);
                        corner.y = std::min(corner.y, point.y);
                    }
            if (corner.x == std::numeric_limits<double>::infinity())
                throw FatalError("\n\nFatal error: --origin=board, but the project has no board outline\n\n");
            return corner;
        }
        default:
            return {0.0, 0.0};
    }
}

void write_bill_of_materials(std::ostream& out, const PartTable& parts, int footprint_count) {
    // One pass over the parts, which are large records, in designator order: each joins the row of
    // its footprint, value and fitting, made when its first part comes. A footprint has few rows,
    // one per value, found through the footprint.
    std::vector<BomRow> bom;
    std::vector<std::vector<uint32_t>> rows_of_footprint(static_cast<size_t>(footprint_count));
    for (const PartRecord& part : parts) {
        const bool fitted = part.excluded == 0;
        std::vector<uint32_t>& candidates = rows_of_footprint[static_cast<size_t>(part.footprint_index)];
        auto found = std::find_if(candidates.begin(), candidates.end(), [&](uint32_t row) {
            return bom[row].fitted == fitted && bom[row].value == part.value;
        });
        if (found == candidates.end()) {
            found = candidates.insert(candidates.end(), static_cast<uint32_t>(bom.size()));
            bom.push_back({part.value, part.shape, part.technology, fitted, 0, {}, false, false, part.info_text, true});
        }
        add_part(bom[*found], part);
    }
    out << "Quantity,Value,Footprint,Designators,Side,Technology,Information,Fitted\n";
    LineWriter rows;
    // The fitted rows first, then the excluded parts' rows.
    for (const bool fitted : {true, false}) {
        for (const BomRow& row : bom) {
            if (row.fitted != fitted) continue;
            write_row(rows, row);
            write_piece(out, rows, false);
        }
    }
    write_piece(out, rows, true);
}

void write_placement_list(std::ostream& out, const PartTable& parts, BoardPoint origin) {
    out << "Designator,Value,Footprint,Mid X,Mid Y,Layer,Rotation\n";
    // Rows built from typed pieces, as the report's rows are.
    LineWriter row;
    for (const PartRecord& part : parts) {
        if (part.excluded != 0) continue;
        row.csv(part.ref_des).put(',').csv(part.value).put(',').csv(part.shape);
        row.put(',').fixed((part.x - origin.x) * MM_PER_INCH, 1, 3).put(',');
        row.fixed((part.y - origin.y) * MM_PER_INCH, 1, 3).put(',').put(side_name(part)).put(',');
        row.integer((part.angle % 360 + 360) % 360, 1).put('\n');
        write_piece(out, row, false);
    }
    write_piece(out, row, true);
}
