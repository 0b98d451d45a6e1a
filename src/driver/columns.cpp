#include "driver/columns.h"

#include "common/text.h"
#include "driver/listing.h"

namespace {

const std::string DASH_RUN(147, '-');

const FootprintRecord* footprint_of(const ReportInput& input, const PartRecord& part) {
    const auto& records = input.project.footprints.records;
    if (part.footprint_index < 0 || static_cast<size_t>(part.footprint_index) >= records.size()) return nullptr;
    return &records[static_cast<size_t>(part.footprint_index)];
}

const char* tech_cell(int technology) {
    switch (technology) {
        case TECH_SMD:
            return " SMD";
        case TECH_THRU_HOLE:
            return " PTH";
        case TECH_MIXED:
            return "Mixed";
        default:
            return "Null";
    }
}

void write_groups(std::ostream& out, const ReportInput& input, unsigned side) {
    const GroupCounts& counts = side == 0 ? input.top_counts : input.bottom_counts;
    if (counts.placed() <= 0) return;
    for (int technology = TECH_SMD; technology <= TECH_NULL; ++technology) {
        if (counts.class_count[technology] <= 0) continue;
        write_column_headings(out, input.settings);
        for (const PartRecord& part : input.project.parts) {
            if (is_bottom(part) == (side != 0) && part.technology == technology && part.excluded == 0) write_column_row(out, input, part);
        }
    }
}

}  // namespace

std::vector<std::string> column_cells(const ReportInput& input, const PartRecord& part, int type) {
    const double unit = input.units.columns.per_inch;
    const int decimals = input.units.columns.decimals;
    const FootprintRecord* footprint = footprint_of(input, part);
    switch (type) {
        case 0:
            return {part.ref_des};
        case 1:
            return {part.value};
        case 2:
            return {part.info_text};
        case 3:
            return {part.value + " " + part.info_text};
        case 4:
            return {part.shape};
        case 5:
            return {side_name(part)};
        case 6:
            return {format_text(" %3d", part.angle)};
        case 7:
            return {format_text("%8.*lf", decimals, part.x * unit)};
        case 8:
            return {format_text("%8.*lf", decimals, part.y * unit)};
        case 9:
            return {format_text("%8.*lf,%8.*lf", decimals, part.x * unit, decimals, part.y * unit)};
        case 10:
            return {tech_cell(part.technology)};
        case 11:
            return {format_text("%4d%c", part.pin_count, pins_mark(part))};
        case 12:
        case 13: {
            std::vector<std::string> cells;
            for (int k = 0; k < part.glue.count; ++k) {
                size_t spot = static_cast<size_t>(k);
                double x = part.glue[spot].x * unit, y = part.glue[spot].y * unit;
                if (type == 12)
                    cells.push_back(format_text("%7.3lf,%7.3lf", x, y));
                else
                    cells.push_back(format_text(input.units.millimetres ? "[%7.3lf,%7.3lf,%6.3lf]  " : "[%6.3lf,%6.3lf,%6.3lf]  ", x, y,
                                                part.glue[spot].dia * unit));
            }
            return cells;
        }
        case 14:
            return {format_text("  %3d", part.centroid_angle)};
        case 15:
            return {footprint != nullptr ? footprint->author : std::string()};
        case 16:
            return {footprint != nullptr ? footprint->source : std::string()};
        case 17:
            return {footprint != nullptr ? footprint->description : std::string()};
        case 18:
            return {format_text("      %2d", part.glue.count)};
        default:
            return {};
    }
}

void write_column_headings(std::ostream& out, const Settings& settings) {
    out << "\n\n";
    for (int i = 0; i < settings.user_column_count; ++i) {
        const UserColumn& column = settings.user_columns[static_cast<size_t>(i)];
        int pad = column.width - static_cast<int>(column.heading.size());
        std::string heading =
            pad > 0 ? std::string(static_cast<size_t>((pad + 1) / 2), ' ') + column.heading : column.heading;
        if (i > 0) out << "  ";
        print_to(out, "%-*.*s", column.width, column.width, heading.c_str());
    }
    out << "\n";
    for (int i = 0; i < settings.user_column_count; ++i) {
        const UserColumn& column = settings.user_columns[static_cast<size_t>(i)];
        if (i > 0) out << "  ";
        print_to(out, "%*.*s", column.width, column.width, DASH_RUN.c_str());
    }
}

void write_column_row(std::ostream& out, const ReportInput& input, const PartRecord& part) {
    const Settings& settings = input.settings;
    out << "\n";
    for (int i = 0; i < settings.user_column_count; ++i) {
        const UserColumn& column = settings.user_columns[static_cast<size_t>(i)];
        for (const std::string& cell : column_cells(input, part, column.type))
            print_to(out, "%-*.*s", column.width, column.width, cell.c_str());
        out << "  ";
    }
}

void write_column_report(std::ostream& out, const ReportInput& input, int format) {
    write_report_header(out, input);
    if (format == 3) {
        write_column_headings(out, input.settings);
        for (const PartRecord& part : input.project.parts) write_column_row(out, input, part);
    } else {
        write_groups(out, input, 0);
        write_groups(out, input, 1);
    }
    out << "\n";
}
