#include "driver/listing.h"

#include "common/text.h"

namespace {

const char* offset_text(int offset) {
    switch (offset) {
        case -270:
            return " - 270";
        case -180:
            return " - 180";
        case -90:
            return " - 90";
        case 90:
            return " + 90";
        case 180:
            return " + 180";
        case 270:
            return " + 270";
        default:
            return "";
    }
}

const char* centroid_text(int factor) {
    if (factor == 1) return " + Centroid Rotation";
    if (factor == -1) return " - Centroid Rotation";
    return "";
}

void write_listing_heading(std::ostream& out, const ReportInput& input, const char* lead) {
    print_to(out,
             "%s RefDes   %s     Footprint         Side    Loc X    Loc Y   Rot  Glue X   Glue Y   Glu Dia  "
             "Technology  Pins",
             lead, input.info.heading_block.c_str());
    print_to(out,
             "\n--------  %s--------------------  ------  -------  -------  ---  -------  -------  -------  "
             "----------  ----",
             input.info.dash_block.c_str());
}

}  // namespace

void format_listing_row(LineWriter& row, const ReportInput& input, const PartRecord& part, const char* side,
                        const char* technology, double glue_dia) {
    // "\n%-8s  " with the designator, then with the information column "%-16.16s  ", then in
    // inches "%-20.20s  %-6s  %7.4lf %c%7.4lf  %3d  %7.4lf  %7.4lf  %7.4lf  %-10s  %4d %c", in
    // millimetres the same with "%7.2lf" and every length times 25.4.
    row.clear();
    row.put('\n').left(part.ref_des, 8).put("  ");
    if (input.info.on()) row.left_cut(part.info_text, 16).put("  ");
    const double unit = input.units.listing.per_inch;
    const int decimals = input.units.listing.decimals;
    const GlueSpot glue = part.glue.first();
    row.left_cut(part.shape, 20).put("  ").left(side, 6).put("  ");
    row.fixed(part.x * unit, 7, decimals)
        .put(' ')
        .put(part.pos_flag != 0 ? 'L' : ' ')
        .fixed(part.y * unit, 7, decimals);
    row.put("  ").integer(part.angle, 3).put("  ").fixed(glue.x * unit, 7, decimals).put("  ");
    row.fixed(glue.y * unit, 7, decimals).put("  ").fixed(glue_dia * unit, 7, decimals).put("  ");
    row.left(technology, 10).put("  ").integer(part.pin_count, 4).put(' ').put(pins_mark(part));
}

namespace {

void write_listing_row(std::ostream& out, LineWriter& row, const ReportInput& input, const PartRecord& part,
                       const char* side, const char* technology, double glue_dia) {
    format_listing_row(row, input, part, side, technology, glue_dia);
    out << row.text();
}

// Writes one side's classes, each under its heading.
void write_side_groups(std::ostream& out, const ReportInput& input, unsigned side) {
    const GroupCounts& counts = side == 0 ? input.top_counts : input.bottom_counts;
    if (counts.placed() <= 0) return;
    const char* side_name = side == 0 ? "Top" : "Bottom";
    LineWriter row;
    for (int technology = TECH_SMD; technology <= TECH_NULL; ++technology) {
        if (counts.class_count[technology] <= 0) continue;
        write_listing_heading(out, input, "\n\n");
        bool glued = (input.settings.glue_technologies >> technology & 1) != 0;
        for (const PartRecord& part : input.project.parts) {
            if (!in_side_group(part, side) || part.technology != technology || part.excluded != 0) continue;
            write_listing_row(out, row, input, part, side_name, technology_name(technology),
                              glued ? part.glue.first().dia : 0.0);
        }
    }
}

}  // namespace

void write_report_header(std::ostream& out, const ReportInput& input) {
    const Settings& settings = input.settings;
    print_to(out, "\nProject: %s\n\n", input.project.project_name.c_str());
    print_to(out, "%4d Footprints found.\n", input.project.footprint_count());
    print_to(out, "%4d Parts found.\n\nUnits: %s\n\nNote: Bottom side coordinates are not mirrored.\n",
             input.project.part_count(), input.units.millimetres ? "MM" : "INCH");
    print_to(out, "Rotation is in Degrees:\n  Top = %s%s%s\n  Bottom = %s%s%s\n", settings.top_ccw != 0 ? "CCW" : "CW",
             offset_text(settings.top_rotation_offset), centroid_text(settings.top_centroid_factor),
             settings.bottom_ccw != 0 ? "CCW" : "CW", offset_text(settings.bottom_rotation_offset),
             centroid_text(settings.bottom_centroid_factor));
}

void write_plain_listing(std::ostream& out, const ReportInput& input) {
    write_report_header(out, input);
    write_listing_heading(out, input, "\n");
    LineWriter row;
    for (const PartRecord& part : input.project.parts) {
        if (part.excluded != 0) continue;
        write_listing_row(out, row, input, part, side_name(part), technology_name(part.technology),
                          part.glue.first().dia);
    }
    out << "\n\n";
}

void write_grouped_listing(std::ostream& out, const ReportInput& input) {
    write_report_header(out, input);
    write_side_groups(out, input, 0);
    write_side_groups(out, input, 1);
    out << "\n\n";
}
