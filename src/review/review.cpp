#include "review/review.h"

#include <cmath>
#include <cstdio>

#include "common/fatal.h"
#include "common/text.h"
#include "project/parts.h"
#include "review/page_template.h"

namespace {

constexpr const char* DATA_PLACEHOLDER = "@BOARD_DATA@";

// JSON text built piece by piece, the commas between values put in as they come; lengths in
// inches with five decimals (a quarter of a micrometre).
class Json {
public:
    std::string text;

    void open(char bracket) {
        separate();
        text += bracket;
        first_ = true;
    }
    void close(char bracket) {
        text += bracket;
        first_ = false;
    }
    void key(const char* name) {
        separate();
        text += '"';
        text += name;
        text += "\":";
        first_ = true;  // the value follows without a comma
    }
    void value(double number) {
        separate();
        // A hostile project can put a part 1e40 inches away: the text is as long as it takes.
        text += format_text("%.5f", std::isfinite(number) ? number : 0.0);
    }
    void value(int number) {
        separate();
        text += std::to_string(number);
    }
    void value(bool truth) {
        separate();
        text += truth ? "true" : "false";
    }
    void value(std::string_view string);
    // Without it a literal would be taken as a truth value.
    void value(const char* string) { value(std::string_view(string)); }
    void null() {
        separate();
        text += "null";
    }
    void point(double x, double y) {
        open('[');
        value(x);
        value(y);
        close(']');
    }
    template <typename Value>
    void field(const char* name, const Value& field_value) {
        key(name);
        value(field_value);
    }

private:
    void separate() {
        if (!first_) text += ',';
        first_ = false;
    }
    bool first_ = true;
};

// A JSON string; every "<" escaped, so that no text can end the page's script element.
void Json::value(std::string_view string) {
    separate();
    text += '"';
    for (char c : string) {
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

const char* layer_name(int layer) {
    switch (layer) {
        case geometry::LAYER_BOTTOM: return "bottom";
        case geometry::LAYER_INNER: return "inner";
        default: return "top";
    }
}

// The copper pads, body outline lines and pin 1 of a part, from its footprint's geometry.
void write_footprint_drawing(Json& json, const PartRecord& part, const geometry::FootprintGeometry* shape) {
    static const geometry::FootprintGeometry NO_SHAPE;
    const geometry::FootprintGeometry& drawn = shape != nullptr ? *shape : NO_SHAPE;
    const geometry::Pin* pin1 = nullptr;
    json.key("pads");
    json.open('[');
    for (const geometry::Pin& pin : drawn.pins) {
        if (pin1 == nullptr || (pin.name == "1" && pin1->name != "1")) pin1 = &pin;
        for (const geometry::Pad& pad : pin.pads) {
            if (!geometry::is_copper(pin, pad)) continue;
            const geometry::PadOnBoard board =
                geometry::pad_on_board(pin, pad, part.origin_x, part.origin_y, part.layout_angle, part.side);
            json.open('{');
            json.field("x", board.x);
            json.field("y", board.y);
            json.field("w", board.width);
            json.field("l", board.length);
            json.field("angle", board.angle_ccw_degrees);
            json.field("shape", board.shape);
            json.field("r", board.radius);
            json.field("side", layer_name(board.layer));
            json.field("drill", board.drill);
            json.close('}');
        }
    }
    json.close(']');
    json.key("outline");
    json.open('[');
    for (const geometry::Polyline& line : drawn.outlines) {
        json.open('{');
        json.field("width", line.width);
        json.key("points");
        json.open('[');
        for (const geometry::Point& point :
             geometry::polyline_on_board(line, part.origin_x, part.origin_y, part.layout_angle, part.side))
            json.point(point.x, point.y);
        json.close(']');
        json.field("closed", line.closed);
        json.close('}');
    }
    json.close(']');
    json.key("pin1");
    if (pin1 == nullptr) {
        json.null();
    } else {
        BoardPoint at = footprint_to_board(part.origin_x, part.origin_y, part.layout_angle, part.side, pin1->x, pin1->y);
        json.point(at.x, at.y);
    }
}

void write_part(Json& json, const ReviewInput& input, const PartRecord& part, const std::vector<int>& findings) {
    const ReportUnits units = report_units(input.settings);
    json.open('{');
    json.field("ref", part.ref_des);
    json.field("footprint", part.shape);
    json.field("value", part.value);
    json.field("info", part.info_text);
    json.field("side", layer_name(is_bottom(part) ? geometry::LAYER_BOTTOM : geometry::LAYER_TOP));
    json.field("x", part.x);
    json.field("y", part.y);
    // The figures as the report prints them, rounded the same way.
    json.field("x_text", format_text("%.*f", units.decimals, part.x * units.per_inch));
    json.field("y_text", format_text("%.*f", units.decimals, part.y * units.per_inch));
    json.field("rotation", part.angle);
    json.field("class", technology_name(part.technology));
    json.field("excluded", part.excluded != 0);
    json.key("glue");
    json.open('[');
    for (int i = 0; i < part.glue.count; ++i) {
        const GlueSpot& spot = part.glue[static_cast<size_t>(i)];
        json.open('[');
        json.value(spot.x);
        json.value(spot.y);
        json.value(spot.dia);
        json.close(']');
    }
    json.close(']');
    write_footprint_drawing(json, part, geometry::find_footprint(input.geometry, part.shape));
    json.key("findings");
    json.open('[');
    for (int finding : findings)
        json.value(input.findings.findings[static_cast<size_t>(finding)].text);
    json.close(']');
    json.close('}');
}

}  // namespace

std::string review_data(const ReviewInput& input) {
    const PartTable& parts = input.project.parts;
    // Which findings are about which part.
    auto about_part = [&parts](const Finding& finding) {
        return finding.part >= 0 && static_cast<size_t>(finding.part) < parts.size();
    };
    std::vector<std::vector<int>> part_findings(parts.size());
    const std::vector<Finding>& findings = input.findings.findings;
    for (size_t k = 0; k < findings.size(); ++k)
        if (about_part(findings[k]))
            part_findings[static_cast<size_t>(findings[k].part)].push_back(static_cast<int>(k));

    Json json;
    json.open('{');
    json.field("version", 1);
    json.field("project", input.project.project_name);
    json.field("units", input.settings.units_mm == 1 ? "mm" : "inch");
    json.key("outlines");
    json.open('[');
    for (const std::vector<geometry::Ring>& outline : input.geometry.board) {
        for (const geometry::Ring& ring : outline) {
            json.open('[');
            for (const geometry::Point& point : ring) json.point(point.x, point.y);
            json.close(']');
        }
    }
    json.close(']');
    json.key("parts");
    json.open('[');
    for (size_t i = 0; i < parts.size(); ++i) write_part(json, input, parts[i], part_findings[i]);
    json.close(']');
    json.key("findings");
    json.open('[');
    for (const Finding& finding : findings) {
        const bool named = about_part(finding);
        json.open('{');
        json.field("kind", finding.kind);
        json.field("title", check_kind_title(finding.kind));
        json.field("part", named ? finding.part : -1);
        json.field("ref", named ? std::string_view(parts[static_cast<size_t>(finding.part)].ref_des) : "");
        json.field("text", finding.text);
        json.close('}');
    }
    json.close(']');
    json.key("kinds");
    json.open('[');
    for (int kind = 0; kind < CHECK_KIND_COUNT; ++kind) {
        json.open('{');
        json.field("kind", kind);
        json.field("title", check_kind_title(kind));
        json.field("count", input.findings.counts[static_cast<size_t>(kind)]);
        json.close('}');
    }
    json.close(']');
    json.close('}');
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
