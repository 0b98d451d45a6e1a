#include "driver/listing.h"

#include "common/format.h"
#include "common/parallel_blocks.h"

namespace {

const char* offset_text(int offset) {
    switch (offset) {
        case -270: return " - 270";
        case -180: return " - 180";
        case -90: return " - 90";
        case 90: return " + 90";
        case 180: return " + 180";
        case 270: return " + 270";
        default: return "";
    }
}

const char* centroid_text(int factor) {
    if (factor == 1) return " + Centroid Rotation";
    if (factor == -1) return " - Centroid Rotation";
    return "";
}

void write_listing_heading(TextOutput& out, const Report& report, const char* lead) {
    out.print("%s RefDes   %s     Footprint         Side    Loc X    Loc Y   Rot  Glue X   Glue Y   Glu Dia  "
              "Technology  Pins",
              lead, report.info.heading_block.c_str());
    out.print("\n--------  %s--------------------  ------  -------  -------  ---  -------  -------  -------  "
              "----------  ----",
              report.info.dash_block.c_str());
}

// The row formats, parsed once for the whole listing.
struct RowFormats {
    PreparedFormat ref_des{"\n%-8s  "};
    PreparedFormat info{"%-16.16s  "};
    PreparedFormat inch{"%-20.20s  %-6s  %7.4lf %c%7.4lf  %3d  %7.4lf  %7.4lf  %7.4lf  %-10s  %4d %c"};
    PreparedFormat mm{"%-20.20s  %-6s  %7.2lf %c%7.2lf  %3d  %7.2lf  %7.2lf  %7.2lf  %-10s  %4d %c"};
};

void write_listing_row(TextOutput& out, const Report& report, const RowFormats& formats, const PartRecord& part,
                       const char* side, const char* technology, double glue_dia) {
    out.print(&formats.ref_des, part.ref_des.c_str());
    if (report.info.on()) out.print(&formats.info, part.info_text.c_str());
    const bool mm = report.settings.units_mm == 1;
    const double unit = mm ? MM_PER_INCH : 1.0;
    out.print(mm ? &formats.mm : &formats.inch, part.shape.c_str(), side, part.x * unit, part.pos_flag != 0 ? 'L' : ' ',
              part.y * unit, part.angle, part.glue.first_x() * unit, part.glue.first_y() * unit, glue_dia * unit,
              technology, part.pin_count, pins_mark(part));
}

// Writes one side's classes, each under its heading; the rows go to `stream` in parallel blocks.
void write_side_groups(std::ostream& stream, const Report& report, const RowFormats& formats, unsigned side) {
    const GroupCounts& counts = side == 0 ? report.top_counts : report.bottom_counts;
    if (counts.placed() <= 0) return;
    const char* side_name = side == 0 ? "Top" : "Bottom";
    TextOutput out(stream);
    for (int technology = TECH_SMD; technology <= TECH_NULL; ++technology) {
        if (counts.class_count[technology] <= 0) continue;
        write_listing_heading(out, report, "\n\n");
        out.flush();
        bool glued = (report.settings.glue_technologies >> technology & 1) != 0;
        const PartTable& parts = report.project.parts;
        write_in_parallel_blocks(stream, parts.size(), [&](std::ostream& block, size_t begin, size_t end) {
            TextOutput rows(block);
            for (size_t i = begin; i < end; ++i) {
                const PartRecord& part = parts[i];
                if (part.side != side || part.technology != technology || part.excluded != 0) continue;
                write_listing_row(rows, report, formats, part, side_name, technology_name(technology),
                                  glued ? part.glue.first_dia() : 0.0);
            }
        });
    }
}

}  // namespace

void write_report_header(std::ostream& out, const Report& report) {
    const Settings& settings = report.settings;
    print_to(out, "\nProject: %s\n\n", report.project.project_name.c_str());
    print_to(out, "%4d Footprints found.\n", report.project.footprint_count());
    print_to(out, "%4d Parts found.\n\nUnits: %s\n\nNote: Bottom side coordinates are not mirrored.\n",
             report.project.part_count(), settings.units_mm == 1 ? "MM" : "INCH");
    print_to(out, "Rotation is in Degrees:\n  Top = %s%s%s\n  Bottom = %s%s%s\n", settings.top_ccw != 0 ? "CCW" : "CW",
             offset_text(settings.top_rotation_offset), centroid_text(settings.top_centroid_factor),
             settings.bottom_ccw != 0 ? "CCW" : "CW", offset_text(settings.bottom_rotation_offset),
             centroid_text(settings.bottom_centroid_factor));
}

void write_plain_listing(std::ostream& stream, const Report& report) {
    write_report_header(stream, report);
    const RowFormats formats;
    {
        TextOutput out(stream);
        write_listing_heading(out, report, "\n");
    }
    const PartTable& parts = report.project.parts;
    write_in_parallel_blocks(stream, parts.size(), [&](std::ostream& block, size_t begin, size_t end) {
        TextOutput rows(block);
        for (size_t i = begin; i < end; ++i) {
            const PartRecord& part = parts[i];
            if (part.excluded != 0) continue;
            write_listing_row(rows, report, formats, part, side_name(part), technology_name(part.technology),
                              part.glue.first_dia());
        }
    });
    stream << "\n\n";
}

void write_grouped_listing(std::ostream& stream, const Report& report) {
    write_report_header(stream, report);
    const RowFormats formats;
    write_side_groups(stream, report, formats, 0);
    write_side_groups(stream, report, formats, 1);
    stream << "\n\n";
}
