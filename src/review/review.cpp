#include "review/review.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/fatal.h"
#include "common/text.h"
#include "review/code_pages.h"
#include "review/page_template.h"

namespace {

constexpr const char* DATA_PLACEHOLDER = "@BOARD_DATA@";

// Drawing coordinates (pads, holes, lines, marks, the board outline) are whole numbers of this
// many units per inch: a ten-thousandth of an inch, finer than any pad edge the page shows, and
// short whole numbers keep a board of 60,000 parts quick to read in.
constexpr double DRAWING_SCALE = 10000.0;

// JSON text built piece by piece, the commas between values put in as they come; placement
// points in inches with five decimals (a quarter of a micrometre).
class Json {
public:
    std::string text;
    // The code page of the project's texts; nullptr: they are UTF-8 and written as they are.
    const CodePage* code_page = nullptr;

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
    // A drawing coordinate: inches as a whole number of drawing units, of any length.
    void drawing(double inches) {
        separate();
        const double units = std::isfinite(inches) ? std::nearbyint(inches * DRAWING_SCALE) : 0.0;
        text += format_text("%.0f", units + 0.0);  // + 0.0: no "-0"
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

// A JSON string in UTF-8; every "<" escaped, so that no text can end the page's script element.
void Json::value(std::string_view string) {
    separate();
    text += '"';
    for (char c : string) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && code_page != nullptr) {
            append_decoded(text, byte, *code_page);
        } else if (c == '"' || c == '\\') {
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
        case LAYER_BOTTOM: return "bottom";
        case LAYER_INNER: return "inner";
        default: return "top";
    }
}

// A flat list of drawing coordinates: x0, y0, x1, y1, ...
void write_points(Json& json, const std::vector<geometry::Point>& points) {
    json.open('[');
    for (const geometry::Point& point : points) {
        json.drawing(point.x);
        json.drawing(point.y);
    }
    json.close(']');
}

void write_circle(Json& json, geometry::Point centre, double radius) {
    json.open('[');
    json.drawing(centre.x);
    json.drawing(centre.y);
    json.drawing(radius);
    json.close(']');
}

// Pin 1 of a footprint: the pin named "1", else the first pin; nullptr without pins.
const PinRecord* first_pin(const FootprintRecord& footprint) {
    for (const PinRecord& pin : footprint.pins)
        if (pin.name == "1") return &pin;
    return footprint.pins.empty() ? nullptr : &footprint.pins.front();
}

// The pin-1 mark: a dot on the pin half as wide as its first copper pad's smaller side, so that it
// reads on a fine-pitch pin and on a connector's alike and leaves a rim of copper.
void write_pin1(Json& json, const PartRecord& part, const FootprintRecord& footprint) {
    json.key("pin1");
    const PinRecord* pin = first_pin(footprint);
    if (pin == nullptr) {
        json.null();
        return;
    }
    double size = 0.0;
    for (const PadRecord& pad : pin->pads) {
        if (const std::optional<geometry::PadCopper> copper = geometry::pad_copper(*pin, pad)) {
            const geometry::Box box = geometry::box_of(*copper);
            size = std::min(box.max_x - box.min_x, box.max_y - box.min_y);
            break;
        }
    }
    write_circle(json, to_board(part, pin->x, pin->y), size / 4.0);
}

// The copper pads, body outline lines and pin 1 of a part, on the board, ready to draw; the pads
// by copper layer as seen from the top, a layer without pads left out.
void write_footprint_drawing(Json& json, const PartRecord& part, const FootprintRecord& footprint) {
    const std::vector<geometry::PadOnBoard> pads = geometry::pads_on_board(part, footprint);
    json.key("pads");
    json.open('{');
    for (int layer : {LAYER_TOP, LAYER_BOTTOM, LAYER_INNER}) {
        bool any = false;
        for (const geometry::PadOnBoard& pad : pads) {
            if (pad.copper.layer != layer) continue;
            if (!any) {
                json.key(layer_name(layer));
                json.open('[');
                any = true;
            }
            json.open('{');
            if (pad.copper.circle) {
                json.key("circle");
                write_circle(json, pad.copper.centre, pad.copper.radius);
            } else {
                json.key("polygon");
                write_points(json, pad.copper.polygon);
            }
            if (pad.drill > 0.0) {
                json.key("hole");
                write_circle(json, pad.hole, pad.drill / 2.0);
            }
            json.close('}');
        }
        if (any) json.close(']');
    }
    json.close('}');
    json.key("outline");
    json.open('[');
    for (const OutlineRecord& line : footprint.outlines) {
        json.open('{');
        json.key("width");
        json.drawing(line.width);
        json.key("points");
        write_points(json, geometry::outline_on_board(line, part));
        json.field("closed", line.closed);
        json.close('}');
    }
    json.close(']');
    write_pin1(json, part, footprint);
}

void write_part(Json& json, const ReviewInput& input, const PartRecord& part, const std::vector<int>& findings) {
    const LengthFormat& shown = input.units.placement;
    json.open('{');
    json.field("ref", part.ref_des);
    json.field("footprint", part.shape);
    json.field("value", part.value);
    json.field("info", part.info_text);
    json.field("side", layer_name(is_bottom(part) ? LAYER_BOTTOM : LAYER_TOP));
    json.field("x", part.x);
    json.field("y", part.y);
    // The figures as the report prints them, rounded the same way.
    json.field("x_text", format_text("%.*f", shown.decimals, part.x * shown.per_inch));
    json.field("y_text", format_text("%.*f", shown.decimals, part.y * shown.per_inch));
    json.field("rotation", part.angle);
    json.field("class", technology_name(part.technology));
    json.field("pins", part.pin_count);
    json.field("excluded", part.excluded != 0);
    json.key("glue");
    json.open('[');
    for (int i = 0; i < part.glue.count; ++i) {
        const GlueSpot& spot = part.glue[static_cast<size_t>(i)];
        json.open('[');
        json.drawing(spot.x);
        json.drawing(spot.y);
        json.drawing(spot.dia);
        json.close(']');
    }
    json.close(']');
    write_footprint_drawing(json, part, input.project.footprints.records.at(static_cast<size_t>(part.footprint_index)));
    json.key("findings");
    json.open('[');
    for (int finding : findings) json.value(finding);
    json.close(']');
    json.close('}');
}

// The subject a finding is about: its footprint's name, or the designator or record it names.
std::string_view finding_subject(const Finding& finding, const Project& project) {
    if (finding.footprint < 0) return finding.subject;
    return project.footprints.records[static_cast<size_t>(finding.footprint)].name;
}

// The code page of the texts the page shows: the one named, else none when every text is valid
// UTF-8, else Windows-1252 (the likeliest single-byte code page of a layout editor's files).
const CodePage* texts_code_page(const ReviewInput& input) {
    if (input.code_page != nullptr) return input.code_page;
    const Project& project = input.project;
    bool utf8 = valid_utf8(project.project_name);
    for (const PartRecord& part : project.parts)
        utf8 = utf8 && valid_utf8(part.ref_des) && valid_utf8(part.shape) && valid_utf8(part.value) &&
               valid_utf8(part.info_text);
    for (const Finding& finding : input.findings.findings)
        utf8 = utf8 && valid_utf8(finding_subject(finding, project)) && valid_utf8(finding.cause) && valid_utf8(finding.fix);
    return utf8 ? nullptr : &windows_1252();
}

}  // namespace

std::string review_data(const ReviewInput& input) {
    const PartTable& parts = input.project.parts;
    // Which findings are about which part: a footprint's finding belongs to each of its parts.
    std::vector<std::vector<int>> part_findings(parts.size());
    const std::vector<Finding>& findings = input.findings.findings;
    for (size_t k = 0; k < findings.size(); ++k)
        for (int part : findings[k].parts) part_findings[static_cast<size_t>(part)].push_back(static_cast<int>(k));

    Json json;
    json.code_page = texts_code_page(input);
    json.open('{');
    json.field("version", 3);
    // How the project's texts were read: what the page shows is UTF-8 either way.
    json.field("encoding", json.code_page != nullptr ? json.code_page->name : "utf-8");
    json.field("project", input.project.project_name);
    // The unit of the figures the page shows, as the report being written prints them.
    json.key("units");
    json.open('{');
    json.field("word", input.units.placement.word);
    json.field("per_inch", input.units.placement.per_inch);
    json.field("decimals", input.units.placement.decimals);
    json.close('}');
    json.key("scale");
    json.value(static_cast<int>(DRAWING_SCALE));
    // The report's origin, for the axes the page draws.
    json.key("origin");
    json.open('[');
    json.value(input.origin.x);
    json.value(input.origin.y);
    json.close(']');
    json.key("outlines");
    json.open('[');
    for (const std::vector<geometry::Ring>& outline : input.board)
        for (const geometry::Ring& ring : outline) write_points(json, ring);
    json.close(']');
    json.key("parts");
    json.open('[');
    for (size_t i = 0; i < parts.size(); ++i) write_part(json, input, parts[i], part_findings[i]);
    json.close(']');
    json.key("findings");
    json.open('[');
    for (const Finding& finding : findings) {
        const KindInfo& kind = kind_info(finding.kind);
        json.open('{');
        json.field("severity", severity_word(kind.severity));
        json.field("kind", kind.word);
        json.field("title", kind.title);
        json.field("subject", finding_subject(finding, input.project));
        json.key("parts");
        json.open('[');
        for (int part : finding.parts) json.value(part);
        json.close(']');
        json.field("cause", finding.cause);
        json.field("fix", finding.fix);
        json.close('}');
    }
    json.close(']');
    json.key("kinds");
    json.open('[');
    for (int kind = 0; kind < CHECK_KIND_COUNT; ++kind) {
        json.open('{');
        json.field("kind", kind_info(kind).word);
        json.field("title", kind_info(kind).title);
        json.field("severity", severity_word(kind_info(kind).severity));
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
