#include "project/pins.h"

#include <cstdio>
#include <string>

#include "common/numbers.h"
#include "common/scan_numbers.h"
#include "common/text.h"
#include "project/scan.h"

namespace {

bool gets_glue(int technology, int glue_technologies) {
    return technology >= 0 && technology < 31 && (glue_technologies >> technology & 1) != 0;
}

// The layer of a copper pad line, with `rest` after its key; -1 for any other line.
int copper_pad_layer(std::string_view line, std::string_view& rest) {
    constexpr std::pair<std::string_view, int> KEYS[] = {
        {"top_pad:", LAYER_TOP}, {"inner_pad:", LAYER_INNER}, {"bottom_pad:", LAYER_BOTTOM}};
    for (const auto& [key, layer] : KEYS) {
        if (starts_with_key(line, key)) {
            rest = line.substr(key.size());
            return layer;
        }
    }
    return -1;
}

// A length of the pins, pads and outlines: scaled, and 0 when it is absurd.
double length(double value, double scale) { return usable_or_zero(value) * scale; }

void merge_override(FootprintRecord& footprint, const FootprintOverride& override_record, const Settings& settings) {
    if (sets_centroid(override_record)) {
        footprint.centroid_x = override_record.centroid_x;
        footprint.centroid_y = override_record.centroid_y;
        footprint.centroid_overridden = true;
    }
    if (override_record.glue.count > 0 && gets_glue(footprint.technology, settings.glue_technologies)) {
        for (int i = 0; i < override_record.glue.count; ++i) {
            size_t spot = static_cast<size_t>(i);
            double x = override_record.glue[spot].x;
            double y = override_record.glue[spot].y;
            if (!(x > -9.0 && y > -9.0)) continue;
            double dia = override_record.glue[spot].dia;
            footprint.glue.add(x, y, dia > 0.0 ? dia : settings.default_glue_spot_size);
        }
    }
    footprint.excluded = override_record.excluded;
}

}  // namespace

int decide_technology(int pad_flags, int listed_pins, int drilled_pins, int mechanical_normal) {
    long long undrilled = static_cast<long long>(listed_pins) - drilled_pins;
    if (pad_flags == 0 && mechanical_normal == 0) return TECH_NULL;
    if (undrilled > 0 && drilled_pins == 0) return TECH_SMD;
    if (undrilled == 0 && drilled_pins > 0) return TECH_THRU_HOLE;
    if (undrilled > 0 && drilled_pins > 0) return TECH_MIXED;
    return TECH_NULL;
}

bool read_outline_line(std::string_view line, double scale, FootprintRecord& footprint) {
    std::vector<OutlineRecord>& outlines = footprint.outlines;
    // A corner or the closing line belongs to the footprint's last outline line while it is open.
    OutlineRecord* open = !outlines.empty() && !outlines.back().closed ? &outlines.back() : nullptr;
    std::string_view rest = line;
    if (take_prefix(rest, "outline_polyline:")) {
        double width = 0.0, x = 0.0, y = 0.0;
        scan_numbers(rest, "%lf %lf %lf", &width, &x, &y);
        outlines.push_back({length(width, scale), {{length(x, scale), length(y, scale), SIDE_STRAIGHT}}, false,
                            SIDE_STRAIGHT});
    } else if (take_prefix(rest, "next_corner:")) {
        double x = 0.0, y = 0.0;
        int style = SIDE_STRAIGHT;
        scan_numbers(rest, "%lf %lf %d", &x, &y, &style);
        if (open != nullptr) open->corners.push_back({length(x, scale), length(y, scale), style});
    } else if (take_prefix(rest, "close_polyline:")) {
        int style = SIDE_STRAIGHT;
        scan_numbers(rest, "%d", &style);
        if (open != nullptr) {
            open->closed = true;
            open->closing_style = style;
        }
    } else {
        return false;
    }
    return true;
}

int read_pins(FootprintRecord& footprint, double scale, LineCursor& cursor, const LoadContext& context) {
    std::string_view line;
    for (;;) {
        if (cursor.at_end()) {
            context.console << "\nError analyzing pins\n";
            return -2;
        }
        line = cursor.next();
        if (starts_with_key(line, "n_pins:")) break;
    }
    int listed_pins = 0;
    if (scan_numbers(line.substr(7), "%d", &listed_pins) != 1) return -1;
    footprint.pin_count = listed_pins;

    int found_pins = 0;
    int drilled_pins = 0;
    int pad_flags = 0;
    double drill = 0.0;
    while (!cursor.at_end()) {
        line = without_newline(cursor.next());
        if (line.empty()) break;
        std::string_view rest;
        int layer = -1;
        if (starts_with_key(line, "pin: ")) {
            // The name is one word; the drill diameter, position and axis angle follow.
            std::string_view fields = line.substr(5);
            size_t after_name = 0;
            std::string_view name = take_word(fields, after_name);
            // Some editors quote the name; the quotes are not part of it.
            if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
            double drill_read = 0.0, x = 0.0, y = 0.0;
            int angle = 0;
            scan_numbers(fields.substr(after_name), "%lf %lf %lf %d", &drill_read, &x, &y, &angle);
            ++found_pins;
            drill = finite_or_zero(drill_read) * scale;
            if (drill > 0.0) ++drilled_pins;
            if (context.read_copper)
                footprint.pins.push_back({std::string(name), length(drill_read, scale), length(x, scale),
                                          length(y, scale), angle, {}});
        } else if ((layer = copper_pad_layer(line, rest)) >= 0) {
            int shape = 0;
            double width = 0.0, len1 = 0.0, len2 = 0.0, radius = 0.0;
            scan_numbers(rest, "%d %lf %lf %lf %lf", &shape, &width, &len1, &len2, &radius);
            // A round pad exactly as wide as its hole leaves no copper: it is kept as no pad.
            if (shape == PAD_ROUND && finite_or_zero(width) * scale == drill) shape = PAD_NONE;
            pad_flags |= shape;
            // A pad line before the first pin has no pin to belong to.
            if (context.read_copper && !footprint.pins.empty())
                footprint.pins.back().pads.push_back(
                    {layer, shape, length(width, scale), length(len1, scale), length(len2, scale), length(radius, scale)});
        } else if (context.read_copper) {
            read_outline_line(line, scale, footprint);
        }
    }

    if (found_pins != listed_pins && context.settings.verbose != 0)
        print_to(context.console, "\n%s Pin count error: Listed %d, Found %d\n", footprint.name.c_str(), listed_pins,
                 found_pins);
    footprint.found_pins = found_pins;
    footprint.pad_flags = pad_flags;
    footprint.technology = decide_technology(pad_flags, listed_pins, drilled_pins, context.settings.mechanical_normal);
    return listed_pins;
}

void complete_footprint(FootprintRecord& footprint, double scale, const SelectionRect& rect, LineCursor& cursor,
                        const LoadContext& context) {
    const Settings& settings = context.settings;
    if (footprint.centroid_given == 0) {
        footprint.centroid_x = finite_or_zero((rect.x1 + rect.x2) / 2 * scale);
        footprint.centroid_y = finite_or_zero((rect.y1 + rect.y2) / 2 * scale);
    }
    read_pins(footprint, scale, cursor, context);

    bool glued = gets_glue(footprint.technology, settings.glue_technologies);
    if (!glued) footprint.glue.clear();

    int override_index = context.overrides.find(footprint.name);
    bool override_has_glue = false;
    if (override_index >= 0) {
        const FootprintOverride& override_record = context.overrides.records[static_cast<size_t>(override_index)];
        merge_override(footprint, override_record, settings);
        override_has_glue = override_record.glue.count > 0;
    }

    if (glued && footprint.glue.count == 0 && !override_has_glue)
        footprint.glue.add(footprint.centroid_x, footprint.centroid_y, settings.default_glue_spot_size);
}
