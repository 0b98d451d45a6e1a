#include "check/check.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/text.h"

namespace {

// A centroid on pin 1 of a two-pin part lies half a pitch from the copper's centre, more than a
// quarter of the pads' extent; a connector body off its pads by less than that stays quiet.
constexpr double LIMIT_SHARE_OF_EXTENT = 0.25;
// Small parts with uneven pads sit a little off the copper's centre by design.
constexpr double LIMIT_FLOOR_INCH = 0.25 * INCH_PER_MM;
// Names a finding lists before "and N more".
constexpr size_t LISTED_NAMES = 4;

const char* const KIND_HEADINGS[CHECK_KIND_COUNT] = {
    "Placement point far from the copper",
    "Placement point outside the board outline",
    "Duplicate reference designators",
    "Records that match nothing",
    "Pin count different from the pins listed",
    "Placed parts without copper",
};

// What the closing count calls one finding of each kind, and several.
const char* const KIND_COUNTED[CHECK_KIND_COUNT][2] = {
    {"far from the copper", "far from the copper"},
    {"outside the board", "outside the board"},
    {"duplicate designator", "duplicate designators"},
    {"unmatched record", "unmatched records"},
    {"pin count", "pin counts"},
    {"without copper", "without copper"},
};

bool placed(const PartRecord& part) { return part.excluded == 0; }

void add(CheckFindings& result, int kind, int part, int footprint, std::string text) {
    result.findings.push_back({kind, part, footprint, std::move(text)});
    ++result.counts[static_cast<size_t>(kind)];
}

// "A, B, C, D and 3 more": the first names and how many there are besides.
std::string name_list(const std::vector<std::string_view>& names) {
    std::string list;
    for (size_t i = 0; i < names.size() && i < LISTED_NAMES; ++i) {
        if (i > 0) list += ", ";
        list += names[i];
    }
    if (names.size() > LISTED_NAMES) list += format_text(" and %d more", static_cast<int>(names.size() - LISTED_NAMES));
    return list;
}

// Kind 1, decided once per footprint: how far its centroid lies from its copper's centre, and
// how far it may. A centroid that an override line sets has been checked by hand.
struct CopperVerdict {
    bool far = false;
    double distance = 0.0, allowed = 0.0;
};

CopperVerdict copper_verdict(const FootprintRecord& footprint) {
    CopperVerdict verdict;
    if (footprint.centroid_overridden) return verdict;
    const geometry::Box copper = geometry::copper_box(footprint);
    if (copper.empty()) return verdict;  // no copper: the parts without copper are another kind
    // In footprint coordinates: the distance is the same on the board.
    verdict.distance = std::hypot(footprint.centroid_x - (copper.min_x + copper.max_x) / 2.0,
                                  footprint.centroid_y - (copper.min_y + copper.max_y) / 2.0);
    verdict.allowed = copper_distance_limit(copper);
    verdict.far = verdict.distance > verdict.allowed;
    return verdict;
}

void far_from_copper(const CheckInput& input, const LengthFormat& units, CheckFindings& result) {
    const std::vector<FootprintRecord>& footprints = input.project.footprints.records;
    std::vector<CopperVerdict> verdicts;
    verdicts.reserve(footprints.size());
    for (const FootprintRecord& footprint : footprints) verdicts.push_back(copper_verdict(footprint));
    const PartTable& parts = input.project.parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartRecord& part = parts[i];
        size_t footprint = static_cast<size_t>(part.footprint_index);
        if (!placed(part) || footprint >= verdicts.size() || !verdicts[footprint].far) continue;
        const CopperVerdict& verdict = verdicts[footprint];
        add(result, CHECK_FAR_FROM_COPPER, static_cast<int>(i), part.footprint_index,
            format_text("%s (%s): placement point %.*f %s from the centre of its pads (allowed %.*f)",
                        part.ref_des.c_str(), part.shape.c_str(), units.decimals, verdict.distance * units.per_inch,
                        units.word, units.decimals, verdict.allowed * units.per_inch));
    }
}

void outside_board(const CheckInput& input, const LengthFormat& units, CheckFindings& result) {
    const geometry::BoardRings& board = input.board;
    if (!geometry::has_board_outline(board)) return;
    const PartTable& parts = input.project.parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartRecord& part = parts[i];
        if (!placed(part) || geometry::board_contains(board, part.x, part.y)) continue;
        add(result, CHECK_OUTSIDE_BOARD, static_cast<int>(i), part.footprint_index,
            format_text("%s (%s): placement point at %.*f, %.*f %s", part.ref_des.c_str(), part.shape.c_str(),
                        units.decimals, part.x * units.per_inch, units.decimals, part.y * units.per_inch,
                        units.word));
    }
}

void duplicate_designators(const CheckInput& input, CheckFindings& result) {
    const PartTable& parts = input.project.parts;
    std::vector<int> order;
    for (size_t i = 0; i < parts.size(); ++i)
        if (placed(parts[i])) order.push_back(static_cast<int>(i));
    // Equal byte for byte; the part table's own order folds letter case, so equal names need
    // not stand together there.
    auto designator = [&](int part) -> const std::string& { return parts[static_cast<size_t>(part)].ref_des; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return designator(a) < designator(b); });
    std::vector<std::pair<size_t, size_t>> runs;  // [first, end) in `order`
    for (size_t first = 0, end = 0; first < order.size(); first = end) {
        for (end = first + 1; end < order.size() && designator(order[end]) == designator(order[first]);) ++end;
        if (end - first > 1) runs.emplace_back(first, end);
    }
    // In the order of the part table: a run's first entry is its earliest part.
    std::sort(runs.begin(), runs.end(), [&](const auto& a, const auto& b) { return order[a.first] < order[b.first]; });
    for (const auto& [first, end] : runs) {
        std::vector<std::string_view> footprints;
        for (size_t k = first; k < end; ++k) footprints.push_back(parts[static_cast<size_t>(order[k])].shape);
        add(result, CHECK_DUPLICATE_DESIGNATOR, order[first], -1,
            format_text("%s: placed %d times (%s)", designator(order[first]).c_str(), static_cast<int>(end - first),
                        name_list(footprints).c_str()));
    }
}

void unmatched_records(const CheckInput& input, CheckFindings& result) {
    // Looked up as the records are applied: each part finds the record of its designator.
    std::vector<bool> matched(input.info.records.size(), false);
    if (!matched.empty())
        for (const PartRecord& part : input.project.parts)
            if (int found = input.info.find(part.ref_des); found >= 0) matched[static_cast<size_t>(found)] = true;
    for (size_t i = 0; i < matched.size(); ++i)
        if (!matched[i])
            add(result, CHECK_UNMATCHED_RECORD, -1, -1,
                format_text("information record \"%s\" matches no part", input.info.records[i].key.c_str()));
    for (const FootprintOverride& record : input.overrides.records)
        if (find_footprint(input.project.footprints, record.name) < 0)
            add(result, CHECK_UNMATCHED_RECORD, -1, -1,
                format_text("footprint override \"%s\" matches no footprint", record.name.c_str()));
}

void pin_counts(const CheckInput& input, CheckFindings& result) {
    const std::vector<FootprintRecord>& footprints = input.project.footprints.records;
    auto differs = [](const FootprintRecord& footprint) { return footprint.pin_count != footprint.found_pins; };
    if (std::none_of(footprints.begin(), footprints.end(), differs)) return;
    std::vector<std::vector<std::string_view>> users(footprints.size());
    for (const PartRecord& part : input.project.parts) {
        size_t footprint = static_cast<size_t>(part.footprint_index);
        if (placed(part) && footprint < footprints.size() && differs(footprints[footprint]))
            users[footprint].push_back(part.ref_des);
    }
    for (size_t i = 0; i < footprints.size(); ++i) {
        const FootprintRecord& footprint = footprints[i];
        if (users[i].empty()) continue;
        add(result, CHECK_PIN_COUNT, -1, static_cast<int>(i),
            format_text("%s (used by %s): n_pins %d, %d pin%s listed", footprint.name.c_str(),
                        name_list(users[i]).c_str(), footprint.pin_count, footprint.found_pins,
                        footprint.found_pins == 1 ? "" : "s"));
    }
}

void without_copper(const CheckInput& input, CheckFindings& result) {
    const PartTable& parts = input.project.parts;
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartRecord& part = parts[i];
        if (!placed(part) || part.technology != TECH_NULL) continue;
        add(result, CHECK_WITHOUT_COPPER, static_cast<int>(i), part.footprint_index,
            format_text("%s (%s): class Null, not excluded", part.ref_des.c_str(), part.shape.c_str()));
    }
}

}  // namespace

const char* check_kind_title(int kind) {
    return kind >= 0 && kind < CHECK_KIND_COUNT ? KIND_HEADINGS[kind] : "";
}

double copper_distance_limit(const geometry::Box& copper) {
    if (copper.empty()) return LIMIT_FLOOR_INCH;
    double longer_side = std::max(copper.max_x - copper.min_x, copper.max_y - copper.min_y);
    return std::max(LIMIT_FLOOR_INCH, LIMIT_SHARE_OF_EXTENT * longer_side);
}

CheckFindings check_placement(const CheckInput& input) {
    CheckFindings result;
    const LengthFormat& units = input.units.listing;
    far_from_copper(input, units, result);
    outside_board(input, units, result);
    duplicate_designators(input, result);
    unmatched_records(input, result);
    pin_counts(input, result);
    without_copper(input, result);
    return result;
}

void print_findings(std::ostream& console, const CheckFindings& result) {
    if (result.findings.empty()) {
        console << "\n\nPlacement check: nothing found\n";
        return;
    }
    // The section can run to many thousands of lines: it goes to the console (unbuffered
    // standard error) in pieces of some 64 KiB, not a line at a time, nor all in one string.
    constexpr size_t PIECE = size_t{1} << 16;
    std::string section = "\n\nPlacement check\n\n";
    int kind = -1;
    for (const Finding& finding : result.findings) {
        if (finding.kind != kind) {
            kind = finding.kind;
            section += format_text("%s (%d):\n", KIND_HEADINGS[kind], result.counts[static_cast<size_t>(kind)]);
        }
        section += format_text("  %s\n", finding.text.c_str());
        if (section.size() >= PIECE) {
            console << section;
            section.clear();
        }
    }
    std::string counts;
    for (int each = 0; each < CHECK_KIND_COUNT; ++each) {
        int count = result.counts[static_cast<size_t>(each)];
        if (count == 0) continue;
        if (!counts.empty()) counts += ", ";
        counts += format_text("%d %s", count, KIND_COUNTED[each][count == 1 ? 0 : 1]);
    }
    section += format_text("\nPlacement check: %d finding%s (%s)\n", result.total(), result.total() == 1 ? "" : "s",
                           counts.c_str());
    console << section;
}
