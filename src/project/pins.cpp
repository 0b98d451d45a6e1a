#include "project/pins.h"

#include <cstdio>
#include <string>

#include "common/scan_numbers.h"
#include "common/text.h"
#include "project/scan.h"

namespace {

bool gets_glue(int technology, int glue_technologies) {
    return technology >= 0 && technology < 31 && (glue_technologies >> technology & 1) != 0;
}

bool is_copper_pad(std::string_view line, std::string_view& rest) {
    for (std::string_view key : {"top_pad:", "inner_pad:", "bottom_pad:"}) {
        if (starts_with_key(line, key)) {
            rest = line.substr(key.size());
            return true;
        }
    }
    return false;
}

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
        if (starts_with_key(line, "pin: ")) {
            double drill_read = 0.0;
            SkipWord name;
            scan_numbers(line.substr(5), "%*s %lf", &name, &drill_read);
            ++found_pins;
            drill = finite_or_zero(drill_read) * scale;
            if (drill > 0.0) ++drilled_pins;
        } else if (is_copper_pad(line, rest)) {
            int shape = 0;
            double size = 0.0;
            scan_numbers(rest, "%d %lf", &shape, &size);
            // A round pad exactly as wide as its hole leaves no copper.
            if (shape == 1 && finite_or_zero(size) * scale == drill) shape = 0;
            pad_flags |= shape;
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
