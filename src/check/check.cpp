#include "check/check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <tuple>

#include "common/text.h"

namespace {

// A centroid on pin 1 of a two-pin part lies half a pitch from the copper's centre, more than a
// quarter of the pads' extent; a connector body off its pads by less than that stays quiet.
constexpr double LIMIT_SHARE_OF_EXTENT = 0.25;
// Small parts with uneven pads sit a little off the copper's centre by design.
constexpr double LIMIT_FLOOR_INCH = 0.25 * INCH_PER_MM;
// A placement point this close to a pin, a pad's centre or a corner stands on it: layout files
// give such points exactly, and a hundredth of a millimetre is far below any placement tolerance.
constexpr double ON_POINT_INCH = 0.01 * INCH_PER_MM;
// A placement point on a pad is wrong when the copper's centre is farther away than this: the
// pad is a pin, not an exposed pad in the middle.
constexpr double ON_PAD_LIMIT_INCH = 0.1 * INCH_PER_MM;
// The placement point counts as the body outline's centre within this share of its longer side.
constexpr double BODY_CENTRE_SHARE = 0.10;
// A placement point past the board edge by more than this is an error, up to it a note.
constexpr double EDGE_ALLOWANCE_INCH = 2.0 * INCH_PER_MM;
// A single pad this long is no component's: an imported drawing or label stored as a part.
constexpr double PSEUDO_PAD_INCH = 15.0 * INCH_PER_MM;

const KindInfo KINDS[CHECK_KIND_COUNT] = {
    {SEVERITY_ERROR, "pseudo-part", "Pseudo-part in the report"},
    {SEVERITY_ERROR, "no-copper", "Placed part without copper"},
    {SEVERITY_ERROR, "side", "Side neither top nor bottom"},
    {SEVERITY_ERROR, "centroid", "Placement point off the copper"},
    {SEVERITY_ERROR, "off-board", "Placement point off the board"},
    {SEVERITY_ERROR, "duplicate", "Duplicate designator"},
    {SEVERITY_ERROR, "unmatched", "Record that matches nothing"},
    {SEVERITY_NOTE, "centroid-tht", "Through-hole placement point off the copper"},
    {SEVERITY_NOTE, "body-centre", "Placement point on the body's centre"},
    {SEVERITY_NOTE, "edge", "Placement point over the board edge"},
    {SEVERITY_NOTE, "single-pad", "Single-pad part in the report"},
    {SEVERITY_NOTE, "pin-count", "Pin count different from the pins listed"},
};

bool placed(const PartRecord& part) { return part.excluded == 0; }

// A length in the report's units with the unit's word: "1.02 mm".
std::string length_text(double inches, const LengthFormat& units) {
    return format_text("%.*f %s", units.decimals, inches * units.per_inch, units.word);
}

// What a footprint's copper says, worked out once for all its parts.
struct FootprintFacts {
    int copper_pins = 0;       // pins with copper pads
    double largest_pad = 0.0;  // the longer side of the largest copper pad, inches
    int centroid_kind = -1;    // CHECK_CENTROID, CHECK_CENTROID_THROUGH_HOLE, CHECK_BODY_CENTRE or none
    double distance = 0.0;     // from the placement point to the copper's centre, inches
    geometry::Point copper_centre;
    std::string cause;
};

bool near(double x, double y, geometry::Point point) { return std::hypot(x - point.x, y - point.y) <= ON_POINT_INCH; }

// Where a placement point off the copper stands, in words: on a pin, on the footprint's origin, on
// a corner of the pads, or how far and which way from the copper's centre.
std::string where(const FootprintRecord& footprint, const geometry::Box& copper, const FootprintFacts& facts,
                  const PinRecord* on_pin, const LengthFormat& units) {
    const double x = footprint.centroid_x, y = footprint.centroid_y;
    const std::string distance = length_text(facts.distance, units);
    if (on_pin != nullptr) return format_text("on pin %s, %s from the centre of the copper", on_pin->name.c_str(), distance.c_str());
    if (near(x, y, {0.0, 0.0})) return "on the footprint's origin, " + distance + " from the centre of the copper";
    for (double corner_x : {copper.min_x, copper.max_x})
        for (double corner_y : {copper.min_y, copper.max_y})
            if (near(x, y, {corner_x, corner_y})) return "on a corner of the pads, " + distance + " from the centre of the copper";
    // The footprint's own directions, as its drawing shows it from the top.
    const double dx = x - facts.copper_centre.x, dy = y - facts.copper_centre.y;
    std::string toward;
    if (std::fabs(dy) >= 0.25 * facts.distance) toward = dy > 0 ? "top" : "bottom";
    if (std::fabs(dx) >= 0.25 * facts.distance) toward += std::string(toward.empty() ? "" : " ") + (dx > 0 ? "right" : "left");
    return distance + " from the centre of the copper, toward the footprint's " + toward;
}

// Decides whether the footprint's placement point is off its copper. A centroid that an override
// line sets has been checked by hand.
void judge_centroid(const FootprintRecord& footprint, const geometry::Box& copper, const PinRecord* on_pin,
                    FootprintFacts& facts, const LengthFormat& units) {
    if (copper.empty() || footprint.centroid_overridden || footprint.technology == TECH_NULL) return;
    const double x = footprint.centroid_x, y = footprint.centroid_y;
    facts.copper_centre = copper.centre();
    facts.distance = std::hypot(x - facts.copper_centre.x, y - facts.copper_centre.y);
    const double allowed = copper_distance_limit(copper);
    const bool beyond_allowance = facts.distance > allowed;
    if (!beyond_allowance && !(on_pin != nullptr && facts.distance > ON_PAD_LIMIT_INCH)) return;
    // A body that overhangs its pads by design, such as a connector, is placed by its body.
    geometry::Box body;
    for (const OutlineRecord& line : footprint.outlines)
        for (const OutlineCorner& corner : line.corners) body.add(corner.x, corner.y);
    if (!body.empty()) {
        const geometry::Point centre = body.centre();
        if (std::hypot(x - centre.x, y - centre.y) <= BODY_CENTRE_SHARE * body.longer_side()) {
            facts.centroid_kind = CHECK_BODY_CENTRE;
            facts.cause = "on the centre of the body outline, " + length_text(facts.distance, units) +
                          " from the centre of the copper: a body that overhangs its pads by design";
            return;
        }
    }
    facts.centroid_kind = footprint.technology == TECH_SMD ? CHECK_CENTROID : CHECK_CENTROID_THROUGH_HOLE;
    facts.cause = where(footprint, copper, facts, on_pin, units);
    if (beyond_allowance) facts.cause += format_text(" (allowed %.*f)", units.decimals, allowed * units.per_inch);
}

FootprintFacts facts_of(const FootprintRecord& footprint, const LengthFormat& units) {
    FootprintFacts facts;
    geometry::Box copper;
    const PinRecord* on_pin = nullptr;
    for (const PinRecord& pin : footprint.pins) {
        bool has_copper = false;
        bool under_centroid = near(footprint.centroid_x, footprint.centroid_y, {pin.x, pin.y});
        for (const PadRecord& pad : pin.pads) {
            const std::optional<geometry::PadCopper> shape = geometry::pad_copper(pin, pad);
            if (!shape) continue;
            const geometry::Box box = geometry::box_of(*shape);
            copper.add(box);
            facts.largest_pad = std::max(facts.largest_pad, box.longer_side());
            under_centroid = under_centroid || near(footprint.centroid_x, footprint.centroid_y, box.centre());
            has_copper = true;
        }
        if (!has_copper) continue;
        ++facts.copper_pins;
        if (under_centroid && on_pin == nullptr) on_pin = &pin;
    }
    judge_centroid(footprint, copper, on_pin, facts, units);
    return facts;
}

// The distance from (x, y) to the nearest edge of the board's outlines and cut-outs.
double distance_to_edge(const geometry::BoardRings& board, double x, double y) {
    double nearest = INFINITY;
    for (const std::vector<geometry::Ring>& rings : board)
        for (const geometry::Ring& ring : rings)
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const geometry::Point& a = ring[j];
                const geometry::Point& b = ring[i];
                const double length_squared = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
                double t = length_squared > 0.0 ? ((x - a.x) * (b.x - a.x) + (y - a.y) * (b.y - a.y)) / length_squared : 0.0;
                t = std::clamp(t, 0.0, 1.0);
                nearest = std::min(nearest, std::hypot(x - (a.x + t * (b.x - a.x)), y - (a.y + t * (b.y - a.y))));
            }
    return nearest;
}

// A footprint override line as the command file writes it: the name (quoted when it must be),
// the flag and, when given, the centroid in the command file's units.
std::string override_line(const std::string& name, int excluded, const geometry::Point* centroid, bool millimetres) {
    std::string line;
    if (name.find_first_of(" \t\"") == std::string::npos && !name.starts_with('-')) {
        line = name;
    } else {
        line = "\"";
        for (char c : name) line += c == '"' ? std::string("\\\"") : std::string(1, c);
        line += '"';
    }
    line += format_text(" %d", excluded);
    if (centroid != nullptr) {
        const double per_unit = millimetres ? MM_PER_INCH : 1.0;
        const int decimals = millimetres ? 4 : 5;
        line += format_text(" %.*f %.*f", decimals, centroid->x * per_unit, decimals, centroid->y * per_unit);
    }
    return line;
}

// The line that puts the footprint's centroid on `centre`, or that excludes its parts, keeping
// what an existing override line of the footprint gives.
std::string fix_line(const FootprintRecord& footprint, const CheckInput& input, const geometry::Point* centre) {
    if (footprint.name.find(';') != std::string::npos) return "";  // a command file cannot hold the name
    const int found = input.overrides.find(footprint.name);
    const FootprintOverride* existing = found >= 0 ? &input.overrides.records[static_cast<size_t>(found)] : nullptr;
    if (centre != nullptr) return override_line(footprint.name, existing ? existing->excluded : 0, centre, input.units.millimetres);
    geometry::Point kept{};
    const bool keeps_centroid = existing != nullptr && sets_centroid(*existing);
    if (keeps_centroid) kept = {existing->centroid_x, existing->centroid_y};
    return override_line(footprint.name, 1, keeps_centroid ? &kept : nullptr, input.units.millimetres);
}

// The one kind a placed part is reported under, the strongest that applies, or -1.
int part_kind(const PartRecord& part, const FootprintRecord& footprint, const FootprintFacts& facts,
              double past_edge) {
    const bool pseudo = (facts.copper_pins == 1 && facts.largest_pad >= PSEUDO_PAD_INCH) ||
                        (footprint.pins.empty() && !footprint.outlines.empty());
    if (pseudo) return CHECK_PSEUDO_PART;
    if (part.technology == TECH_NULL) return CHECK_WITHOUT_COPPER;
    if (part.side > 1) return CHECK_ODD_SIDE;
    if (facts.centroid_kind == CHECK_CENTROID) return CHECK_CENTROID;
    if (past_edge > EDGE_ALLOWANCE_INCH) return CHECK_OFF_BOARD;
    if (facts.centroid_kind >= 0) return facts.centroid_kind;
    if (past_edge > 0.0) return CHECK_OVER_EDGE;
    if (facts.copper_pins == 1) return CHECK_SINGLE_PAD;
    return -1;
}

// The cause and fix of an entry of part findings, once its parts are known.
void describe(Finding& finding, const CheckInput& input, const FootprintFacts& facts) {
    const FootprintRecord& footprint = input.project.footprints.records[static_cast<size_t>(finding.footprint)];
    const LengthFormat& units = input.units.listing;
    const unsigned side = input.project.parts[static_cast<size_t>(finding.parts[0])].side;
    switch (finding.kind) {
        case CHECK_PSEUDO_PART:
            finding.cause = facts.copper_pins == 1
                                ? "its only copper is one pad of " + length_text(facts.largest_pad, units) +
                                      ": an imported drawing or label, not a component"
                                : std::string("it has drawing lines and no pins: an imported drawing, not a component");
            finding.fix = fix_line(footprint, input, nullptr);
            return;
        case CHECK_WITHOUT_COPPER:
            finding.cause = "class Null, no copper pads: nothing a machine can place it by";
            finding.fix = fix_line(footprint, input, nullptr);
            return;
        case CHECK_ODD_SIDE:
            finding.cause = format_text(
                "side %u in the layout file: the report calls it Bottom and turns it by the bottom rule, %s, and "
                "leaves it out of the grouped listing and the plots",
                side, is_mirrored(side) ? "mirrors it" : "does not mirror it");
            return;
        case CHECK_CENTROID:
        case CHECK_CENTROID_THROUGH_HOLE:
            finding.cause = "placement point " + facts.cause;
            finding.fix = fix_line(footprint, input, &facts.copper_centre);
            return;
        case CHECK_BODY_CENTRE:
            finding.cause = "placement point " + facts.cause;
            return;
        case CHECK_OFF_BOARD:
        case CHECK_OVER_EDGE: {
            const auto [nearest, farthest] = std::minmax_element(finding.distances.begin(), finding.distances.end());
            finding.cause = finding.parts.size() == 1
                                ? "placement point " + length_text(*nearest, units)
                                : format_text("placement points %.*f to ", units.decimals, *nearest * units.per_inch) +
                                      length_text(*farthest, units);
            finding.cause += finding.kind == CHECK_OFF_BOARD ? " past the board edge"
                                                             : " over the board edge: a part that overhangs it by design?";
            return;
        }
        case CHECK_SINGLE_PAD:
            finding.cause = "one pad: a via, test pad, fiducial or free pad; fiducials are often wanted, the rest seldom";
            finding.fix = fix_line(footprint, input, nullptr);
            return;
        default:
            return;
    }
}

void part_findings(const CheckInput& input, std::vector<Finding>& findings) {
    const LengthFormat& units = input.units.listing;
    const std::vector<FootprintRecord>& footprints = input.project.footprints.records;
    std::vector<FootprintFacts> facts;
    facts.reserve(footprints.size());
    for (const FootprintRecord& footprint : footprints) facts.push_back(facts_of(footprint, units));
    const bool has_outline = geometry::has_board_outline(input.board);
    // Entries by kind, footprint and (for odd sides) the side, filled in designator order.
    std::map<std::tuple<int, int, unsigned>, size_t> entries;
    const PartTable& parts = input.project.parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartRecord& part = parts[i];
        if (!placed(part)) continue;
        const size_t footprint = static_cast<size_t>(part.footprint_index);
        const double past_edge = has_outline && !geometry::board_contains(input.board, part.x, part.y)
                                     ? distance_to_edge(input.board, part.x, part.y)
                                     : 0.0;
        const int kind = part_kind(part, footprints[footprint], facts[footprint], past_edge);
        if (kind < 0) continue;
        const auto key = std::make_tuple(kind, part.footprint_index, kind == CHECK_ODD_SIDE ? part.side : 0u);
        auto [entry, added] = entries.try_emplace(key, findings.size());
        if (added) findings.push_back(Finding{kind, part.footprint_index, {}, {}, "", "", ""});
        Finding& finding = findings[entry->second];
        finding.parts.push_back(static_cast<int>(i));
        if (kind == CHECK_CENTROID || kind == CHECK_CENTROID_THROUGH_HOLE || kind == CHECK_BODY_CENTRE)
            finding.distances.push_back(facts[footprint].distance);
        if (kind == CHECK_OFF_BOARD || kind == CHECK_OVER_EDGE) finding.distances.push_back(past_edge);
    }
    for (Finding& finding : findings) describe(finding, input, facts[static_cast<size_t>(finding.footprint)]);
}

// The names joined by ", ", all of them.
std::string joined(const std::vector<std::string_view>& names) {
    std::string list;
    for (std::string_view name : names) list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

void duplicate_designators(const CheckInput& input, std::vector<Finding>& findings) {
    const PartTable& parts = input.project.parts;
    std::vector<int> order;
    for (size_t i = 0; i < parts.size(); ++i)
        if (placed(parts[i])) order.push_back(static_cast<int>(i));
    // Equal byte for byte; the part table's own order folds letter case, so equal names need
    // not stand together there.
    auto designator = [&](int part) -> const std::string& { return parts[static_cast<size_t>(part)].ref_des; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return designator(a) < designator(b); });
    std::vector<Finding> found;
    for (size_t first = 0, end = 0; first < order.size(); first = end) {
        for (end = first + 1; end < order.size() && designator(order[end]) == designator(order[first]);) ++end;
        if (end - first < 2) continue;
        Finding finding{CHECK_DUPLICATE, -1, {order.begin() + static_cast<long>(first), order.begin() + static_cast<long>(end)}, {},
                        designator(order[first]), "", ""};
        std::vector<std::string_view> shapes;
        for (int part : finding.parts) shapes.push_back(parts[static_cast<size_t>(part)].shape);
        finding.cause = format_text("placed %d times (%s)", static_cast<int>(finding.parts.size()), joined(shapes).c_str());
        found.push_back(std::move(finding));
    }
    // In the order of the part table: an entry's first part is its earliest.
    std::sort(found.begin(), found.end(), [](const Finding& a, const Finding& b) { return a.parts[0] < b.parts[0]; });
    for (Finding& finding : found) findings.push_back(std::move(finding));
}

void unmatched_records(const CheckInput& input, std::vector<Finding>& findings) {
    // Looked up as the records are applied: each part finds the record of its designator.
    std::vector<bool> matched(input.info.records.size(), false);
    if (!matched.empty())
        for (const PartRecord& part : input.project.parts)
            if (int found = input.info.find(part.ref_des); found >= 0) matched[static_cast<size_t>(found)] = true;
    for (size_t i = 0; i < matched.size(); ++i)
        if (!matched[i])
            findings.push_back({CHECK_UNMATCHED_RECORD, -1, {}, {},
                                format_text("information record \"%s\"", input.info.records[i].key.c_str()),
                                "matches no part: a designator mistyped, or a record of another board", ""});
    for (const FootprintOverride& record : input.overrides.records)
        if (find_footprint(input.project.footprints, record.name) < 0)
            findings.push_back({CHECK_UNMATCHED_RECORD, -1, {}, {},
                                format_text("footprint override \"%s\"", record.name.c_str()),
                                "matches no footprint: a name mistyped, or a line of another board", ""});
}

void pin_counts(const CheckInput& input, std::vector<Finding>& findings) {
    const std::vector<FootprintRecord>& footprints = input.project.footprints.records;
    std::vector<size_t> entry(footprints.size(), SIZE_MAX);
    const PartTable& parts = input.project.parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t footprint = static_cast<size_t>(parts[i].footprint_index);
        const FootprintRecord& record = footprints[footprint];
        if (!placed(parts[i]) || record.pin_count == record.found_pins) continue;
        if (entry[footprint] == SIZE_MAX) {
            entry[footprint] = findings.size();
            findings.push_back({CHECK_PIN_COUNT, parts[i].footprint_index, {}, {}, "",
                                format_text("n_pins %d, %d pin%s listed: the report gives %d pins and decides the "
                                            "class from them",
                                            record.pin_count, record.found_pins, record.found_pins == 1 ? "" : "s",
                                            record.pin_count),
                                ""});
        }
        findings[entry[footprint]].parts.push_back(static_cast<int>(i));
    }
}

}  // namespace

const KindInfo& kind_info(int kind) { return KINDS[std::clamp(kind, 0, CHECK_KIND_COUNT - 1)]; }

const char* severity_word(int severity) { return severity == SEVERITY_ERROR ? "error" : "note"; }

double copper_distance_limit(const geometry::Box& copper) {
    if (copper.empty()) return LIMIT_FLOOR_INCH;
    return std::max(LIMIT_FLOOR_INCH, LIMIT_SHARE_OF_EXTENT * copper.longer_side());
}

CheckFindings check_placement(const CheckInput& input) {
    CheckFindings result;
    part_findings(input, result.findings);
    duplicate_designators(input, result.findings);
    unmatched_records(input, result.findings);
    pin_counts(input, result.findings);
    // Errors first, then notes: the kinds are in that order. Within a kind, in designator order.
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.kind < b.kind; });
    for (const Finding& finding : result.findings)
        ++(kind_info(finding.kind).severity == SEVERITY_ERROR ? result.errors : result.notes);
    return result;
}
