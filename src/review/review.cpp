#include "review/review.h"

#include <cmath>
#include <cstdio>

#include "common/fatal.h"
#include "common/text.h"
#include "project/parts.h"
#include "review/page_template.h"

namespace {

constexpr const char* DATA_PLACEHOLDER = "@BOARD_DATA@";

// JSON text built piece by piece; lengths in inches with five decimals (a quarter micrometre).
struct Json {
    std::string text;

    void raw(const char* piece) { text += piece; }
    void number(double value) {
        char digits[40];
        int length = std::snprintf(digits, sizeof digits, "%.5f", std::isfinite(value) ? value : 0.0);
        text.append(digits, static_cast<size_t>(length));
    }
    void integer(long long value) { text += std::to_string(value); }
    void string(std::string_view value) {
        text += '"';
        for (char c : value) {
            auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                text += '\\';
                text += c;
            } else if (byte < 0x20 || c == '<') {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                text += escaped;
            } else {
                text += c;
            }
        }
        text += '"';
    }
    void key(const char* name) {
        text += '"';
        text += name;
        text += "\":";
    }
    void point(double x, double y) {
        raw("[");
        number(x);
        raw(",");
        number(y);
        raw("]");
    }
};

const char* layer_name(int layer) {
    switch (layer) {
        case geometry::LAYER_BOTTOM: return "bottom";
        case geometry::LAYER_INNER: return "inner";
        default: return "top";
    }
}

// The copper pads, body outline lines and pin 1 of a part, from its footprint's geometry.
void write_footprint_drawing(Json& json, const PartRecord& part, const geometry::FootprintGeometry* shape) {
    json.raw(",\"pads\":[");
    const geometry::Pin* pin1 = nullptr;
    bool first = true;
    if (shape != nullptr) {
        for (const geometry::Pin& pin : shape->pins) {
            if (pin1 == nullptr || (pin.name == "1" && pin1->name != "1")) pin1 = &pin;
            for (const geometry::Pad& pad : pin.pads) {
                if (!geometry::is_copper(pin, pad)) continue;
                const geometry::PadOnBoard board =
                    geometry::pad_on_board(pin, pad, part.origin_x, part.origin_y, part.layout_angle, part.side);
                json.raw(first ? "{" : ",{");
                first = false;
                json.key("x");
                json.number(board.x);
                json.raw(",\"y\":");
                json.number(board.y);
                json.raw(",\"w\":");
                json.number(board.width);
                json.raw(",\"l\":");
                json.number(board.length);
                json.raw(",\"angle\":");
                json.number(board.angle_ccw_degrees);
                json.raw(",\"shape\":");
                json.integer(board.shape);
                json.raw(",\"r\":");
                json.number(board.radius);
                json.raw(",\"side\":");
                json.string(layer_name(board.layer));
                json.raw(",\"drill\":");
                json.number(board.drill);
                json.raw("}");
            }
        }
    }
    json.raw("],\"outline\":[");
    first = true;
    if (shape != nullptr) {
        for (const geometry::Polyline& line : shape->outlines) {
            json.raw(first ? "{\"width\":" : ",{\"width\":");
            first = false;
            json.number(line.width);
            json.raw(",\"points\":[");
            bool first_point = true;
            for (const geometry::Point& point :
                 geometry::polyline_on_board(line, part.origin_x, part.origin_y, part.layout_angle, part.side)) {
                if (!first_point) json.raw(",");
                first_point = false;
                json.point(point.x, point.y);
            }
            json.raw(line.closed ? "],\"closed\":true}" : "],\"closed\":false}");
        }
    }
    json.raw("],\"pin1\":");
    if (pin1 == nullptr) {
        json.raw("null");
    } else {
        BoardPoint at = footprint_to_board(part.origin_x, part.origin_y, part.layout_angle, part.side, pin1->x, pin1->y);
        json.point(at.x, at.y);
    }
}

void write_part(Json& json, const ReviewInput& input, const PartRecord& part, const std::vector<int>& findings) {
    const bool mm = input.settings.units_mm == 1;
    json.raw("{\"ref\":");
    json.string(part.ref_des);
    json.raw(",\"footprint\":");
    json.string(part.shape);
    json.raw(",\"value\":");
    json.string(part.value);
    json.raw(",\"info\":");
    json.string(part.info_text);
    json.raw(is_bottom(part) ? ",\"side\":\"bottom\",\"x\":" : ",\"side\":\"top\",\"x\":");
    json.number(part.x);
    json.raw(",\"y\":");
    json.number(part.y);
    // The figures as the report prints them, rounded the same way.
    json.raw(",\"x_text\":");
    json.string(mm ? format_text("%.2f", part.x * MM_PER_INCH) : format_text("%.4f", part.x));
    json.raw(",\"y_text\":");
    json.string(mm ? format_text("%.2f", part.y * MM_PER_INCH) : format_text("%.4f", part.y));
    json.raw(",\"rotation\":");
    json.integer(part.angle);
    json.raw(",\"class\":");
    json.string(technology_name(part.technology));
    json.raw(part.excluded != 0 ? ",\"excluded\":true,\"glue\":[" : ",\"excluded\":false,\"glue\":[");
    for (int i = 0; i < part.glue.count; ++i) {
        const GlueSpot& spot = part.glue[static_cast<size_t>(i)];
        json.raw(i == 0 ? "[" : ",[");
        json.number(spot.x);
        json.raw(",");
        json.number(spot.y);
        json.raw(",");
        json.number(spot.dia);
        json.raw("]");
    }
    json.raw("]");
    write_footprint_drawing(json, part, geometry::find_footprint(input.geometry, part.shape));
    json.raw(",\"findings\":[");
    for (size_t i = 0; i < findings.size(); ++i) {
        if (i > 0) json.raw(",");
        json.string(input.findings.findings[static_cast<size_t>(findings[i])].text);
    }
    json.raw("]}");
}

}  // namespace

std::string review_data(const ReviewInput& input) {
    const PartTable& parts = input.project.parts;
    // Which findings are about which part.
    std::vector<std::vector<int>> part_findings(parts.size());
    const std::vector<Finding>& findings = input.findings.findings;
    for (size_t k = 0; k < findings.size(); ++k)
        if (findings[k].part >= 0 && static_cast<size_t>(findings[k].part) < parts.size())
            part_findings[static_cast<size_t>(findings[k].part)].push_back(static_cast<int>(k));

    Json json;
    json.raw("{\"version\":1,\"project\":");
    json.string(input.project.project_name);
    json.raw(input.settings.units_mm == 1 ? ",\"units\":\"mm\",\"outlines\":[" : ",\"units\":\"inch\",\"outlines\":[");
    bool first = true;
    for (const std::vector<geometry::Ring>& outline : geometry::flatten_board(input.geometry)) {
        for (const geometry::Ring& ring : outline) {
            json.raw(first ? "[" : ",[");
            first = false;
            for (size_t i = 0; i < ring.size(); ++i) {
                if (i > 0) json.raw(",");
                json.point(ring[i].x, ring[i].y);
            }
            json.raw("]");
        }
    }
    json.raw("],\"parts\":[");
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) json.raw(",");
        write_part(json, input, parts[i], part_findings[i]);
    }
    json.raw("],\"findings\":[");
    for (size_t k = 0; k < findings.size(); ++k) {
        const Finding& finding = findings[k];
        const bool about_part = finding.part >= 0 && static_cast<size_t>(finding.part) < parts.size();
        json.raw(k == 0 ? "{\"kind\":" : ",{\"kind\":");
        json.integer(finding.kind);
        json.raw(",\"title\":");
        json.string(check_kind_title(finding.kind));
        json.raw(",\"part\":");
        json.integer(about_part ? finding.part : -1);
        json.raw(",\"ref\":");
        json.string(about_part ? std::string_view(parts[static_cast<size_t>(finding.part)].ref_des) : "");
        json.raw(",\"text\":");
        json.string(finding.text);
        json.raw("}");
    }
    json.raw("],\"kinds\":[");
    for (int kind = 0; kind < CHECK_KIND_COUNT; ++kind) {
        json.raw(kind == 0 ? "{\"kind\":" : ",{\"kind\":");
        json.integer(kind);
        json.raw(",\"title\":");
        json.string(check_kind_title(kind));
        json.raw(",\"count\":");
        json.integer(input.findings.counts[static_cast<size_t>(kind)]);
        json.raw("}");
    }
    json.raw("]}");
    return std::move(json.text);
}

void write_review_page(std::ostream& out, const ReviewInput& input) {
    const std::string page = review_page_template();
    const size_t placeholder = page.find(DATA_PLACEHOLDER);
    if (placeholder == std::string::npos) throw FatalError("\n\nFatal error: the review page's template has no place for the data\n\n");
    const std::string data = review_data(input);
    out.write(page.data(), static_cast<std::streamsize>(placeholder));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    const size_t rest = placeholder + std::string_view(DATA_PLACEHOLDER).size();
    out.write(page.data() + rest, static_cast<std::streamsize>(page.size() - rest));
}
