#include "project/parts.h"

#include <string>

#include "common/fatal.h"
#include "common/lines.h"
#include "common/scan_numbers.h"
#include "common/text.h"
#include "project/scan.h"

namespace {

const std::string_view PART_KEY = "part: ";
const std::string_view SHAPE_KEY = "shape: \"";
const std::string_view VALUE_KEY = "value: \"";
const std::string_view POS_KEY = "pos: ";
constexpr size_t VALUE_ROOM = 128;

bool ends_parts_section(std::string_view line) {
    return starts_with_key(line, "[nets]") || starts_with_key(line, "[texts]") || starts_with_key(line, "[end]");
}

// Reads the part's origin, side, angle and flag from its "pos: " line.
void read_position(PartRecord& part, std::string_view numbers) {
    double x = 0.0, y = 0.0;
    // Read as wide integers and wrapped to 32 bits: the same values an unsigned
    // conversion gives, without overflow on absurd numbers.
    long long side = 0, angle = 0, flag = 0;
    scan_numbers(numbers, "%lf %lf %lld %lld %lld", &x, &y, &side, &angle, &flag);
    part.side = static_cast<unsigned>(side);
    part.layout_angle = static_cast<int>(static_cast<unsigned>(angle));
    part.angle = part.layout_angle;
    part.pos_flag = static_cast<unsigned>(flag);
    part.origin_x = finite_or_zero(x) * INCH_PER_NM;
    part.origin_y = finite_or_zero(y) * INCH_PER_NM;
}

// Gives a positioned part its footprint's data, placement point and glue spots.
void attach_footprint(PartRecord& part, int index, const FootprintTable& footprints) {
    const FootprintRecord& footprint = footprints.records[static_cast<size_t>(index)];
    part.footprint_index = index;
    part.technology = footprint.technology;
    part.centroid_angle = footprint.centroid_angle;
    part.pin_count = footprint.pin_count;
    part.pad_flags = footprint.pad_flags;
    part.excluded = footprint.excluded;

    const BoardPoint placement = to_board(part, footprint.centroid_x, footprint.centroid_y);
    part.x = placement.x;
    part.y = placement.y;
    for (int i = 0; i < footprint.glue.count; ++i) {
        const GlueSpot& spot = footprint.glue[static_cast<size_t>(i)];
        const BoardPoint glue = to_board(part, spot.x, spot.y);
        part.glue.add(glue.x, glue.y, spot.dia);
    }
}

// Gives every part its footprint, in file order; an unknown footprint ends the reading at its
// part, with only the parts before it kept. The footprints are looked up for all the parts
// first: a loop of nothing but lookups lets the processor wait for many of the table's far-apart
// entries at once, where a lookup between the lines of each part would wait for one at a time.
void attach_footprints(PartTable& parts, const FootprintTable& footprints) {
    std::vector<int> indices(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) indices[i] = find_footprint(footprints, parts[i].shape);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (indices[i] < 0) {
            std::string message =
                format_text("\n%s has unknown footprint: %s\n", parts[i].ref_des.c_str(), parts[i].shape.c_str());
            parts.erase(parts.begin() + static_cast<long>(i), parts.end());
            throw FatalError(message);
        }
        attach_footprint(parts[i], indices[i], footprints);
    }
}

// Reads the part blocks after the "[parts]" line up to the end of the section.
void read_part_blocks(LineCursor& cursor, Project& project) {
    PartTable& parts = project.parts;
    bool in_block = false;
    for (;;) {
        if (cursor.at_end()) {
            if (in_block) parts.pop_back();  // the table keeps only complete parts
            // An unknown footprint before the end of the file is what the reading meets first.
            attach_footprints(parts, project.footprints);
            throw FatalError("\nPremature EOF reading Parts\n");
        }
        std::string_view line = cursor.next();
        if (starts_with_key(line, PART_KEY)) {
            // A block without its "pos: " line is closed by the next part.
            if (in_block)
                parts.back() = PartRecord{};
            else
                parts.emplace_back();
            parts.back().ref_des = without_newline(line.substr(PART_KEY.size()));
            in_block = true;
            continue;
        }
        if (!in_block) {
            if (ends_parts_section(line)) return attach_footprints(parts, project.footprints);
            continue;
        }
        PartRecord& part = parts.back();
        if (starts_with_key(line, SHAPE_KEY)) {
            part.shape = quoted_value(line.substr(SHAPE_KEY.size()), false);
        } else if (starts_with_key(line, VALUE_KEY)) {
            std::string value = quoted_value(line.substr(VALUE_KEY.size()), false);
            if (value.size() > VALUE_ROOM) value.resize(VALUE_ROOM);
            part.value = std::move(value);
        } else if (starts_with_key(line, POS_KEY)) {
            read_position(part, line.substr(POS_KEY.size()));
            in_block = false;
        }
    }
}

}  // namespace

int read_parts(std::string_view text, Project& project) {
    LineCursor cursor{text};
    for (;;) {
        if (cursor.at_end()) throw FatalError("\nParts not found\n");
        if (starts_with_key(cursor.next(), "[parts]")) break;
    }
    // Room for every part the rest of the file could hold, so the table is never moved while it
    // fills; untouched room costs address space only.
    constexpr size_t SMALLEST_PART_BLOCK = 40;
    project.parts.reserve((text.size() - cursor.position) / SMALLEST_PART_BLOCK + 1);
    read_part_blocks(cursor, project);
    return project.part_count();
}
