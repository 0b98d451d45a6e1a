#include "plot/plot.h"

#include "common/fatal.h"
#include "common/output_file.h"
#include "common/text.h"
#include "plot/text.h"

namespace {

struct CentroidGroup {
    int technology;
    const char* title;  // "SMD" in "Top SMD Centroids"
    const char* layer;  // "SMD" in "Top_SMD_Place"
};

constexpr CentroidGroup centroid_groups[] = {
    {TECH_SMD, "SMD", "SMD"},
    {TECH_THRU_HOLE, "Thru-Hole", "Thru-Hole"},
    {TECH_MIXED, "Mixed Tech", "Mixed_Tech"},
    {TECH_NULL, "Null", "Null"},
};

constexpr double LEGEND_START = -0.2;
constexpr double LABEL_SIZE = 0.1;
constexpr double CENTROID_STEP = 0.15;
constexpr double GLUE_STEP = 0.1;

// A part plotted on this side: placed there, in one of the four classes, not excluded.
bool plotted(const PartRecord& part, unsigned side) {
    return in_side_group(part, side) && part.technology >= TECH_SMD && part.technology <= TECH_NULL && part.excluded == 0;
}

}  // namespace

double write_side_plot(std::ostream& file, GerberPen& pen, const PlotInput& input, unsigned side) {
    const Settings& settings = input.settings;
    const char* side_name = side == 0 ? "Top" : "Bottom";
    const GroupCounts& counts = side == 0 ? input.top_counts : input.bottom_counts;
    const bool multi_layer = settings.check_gerbers == 1;
    const double legend_x = settings.icon_legend_x;
    const double legend_y = settings.icon_legend_y;
    double legend_offset = LEGEND_START;
    const PartTable& parts = input.project.parts;

    write_gerber_header(file, input.project.project_name, side_name, settings.target_scale, input.time_text);
    if (!multi_layer) print_to(file, "%%LPD*%%\n%%LN%s_Place_and_Glue*%%\n", side_name);

    auto draw_legend_entry = [&](const std::string& label, int aperture, double step) {
        select_aperture(file, 0);
        draw_stroke_text(file, pen, input.glyphs, label, LABEL_SIZE, 0, 0, legend_x + 0.25, legend_y + legend_offset);
        select_aperture(file, aperture);
        flash_at(file, legend_x + 0.15, legend_y + legend_offset + 0.05);
        legend_offset -= step;
    };

    bool part_flashed = false;
    for (const CentroidGroup& group : centroid_groups) {
        if (counts.class_count[group.technology] == 0) continue;
        print_to(file, "G04 ---- %s %s Centroids ---- *\n", side_name, group.title);
        if (multi_layer) {
            if (group.technology == TECH_SMD)
                print_to(file, "%%LPD*%%\n%%LN%s_%s_Place*%%\n", side_name, group.layer);
            else if (part_flashed)
                print_to(file, "%%LPC*%%\n%%LPD*%%\n%%LN%s_%s_Place*%%\n", side_name, group.layer);
        }
        draw_legend_entry(format_text("%s %s Centroids", side_name, group.title), group.technology + 1, CENTROID_STEP);
        for (const PartRecord& part : parts) {
            if (!plotted(part, side) || part.technology != group.technology) continue;
            flash_at(file, part.x, part.y);
            part_flashed = true;
        }
    }

    print_to(file, "G04 ---- %s glue ---- *\n", side_name);
    if (multi_layer && part_flashed) print_to(file, "%%LPC*%%\n%%LPD*%%\n%%LN%s_Glue*%%\n", side_name);
    draw_legend_entry(format_text("%s Glue", side_name), 5, GLUE_STEP);
    for (const PartRecord& part : parts) {
        if (!plotted(part, side)) continue;
        for (int j = 0; j < part.glue.count; ++j) {
            const GlueSpot& spot = part.glue[static_cast<size_t>(j)];
            if (spot.dia > 0.0) flash_at(file, spot.x, spot.y);
        }
    }

    file << "G04 ---- Bounding Box ---- *\n";
    select_aperture(file, 0);
    const double box_width = side == 0 ? 2.715 : 3.015;
    draw_rectangle(file, pen, 0, 0.0, legend_x, legend_y, legend_x + box_width, legend_y + legend_offset);
    file << "M00*\nM02*\n";
    return legend_offset;
}

void write_verification_plots(PlotInput& input, GerberPen& pen, const std::string& directory, std::ostream& console) {
    Settings& settings = input.settings;
    if (settings.check_gerbers < 0) settings.check_gerbers = 0;
    if (settings.check_gerbers > 2) settings.check_gerbers = 2;
    if (settings.check_gerbers == 0) return;

    struct SidePlot {
        unsigned side;
        const char* file_name;
        const GroupCounts& counts;
    };
    const SidePlot plots[] = {{0, TOP_PLOT_FILE, input.top_counts}, {1, BOTTOM_PLOT_FILE, input.bottom_counts}};
    for (const SidePlot& plot : plots) {
        if (plot.counts.placed() <= 0) continue;
        // Written beside the earlier plot and put in its place only when complete.
        OutputFile file;
        if (!file.create(directory + plot.file_name)) throw FatalError("\nABORT: Unable to open Gerber output file.\n");
        double legend_offset = write_side_plot(file.stream(), pen, input, plot.side);
        if (plot.side == 0) settings.icon_legend_y += legend_offset - 0.1;
        file.finish();
        if (settings.verbose != 0) print_to(console, "\nVerify file %s generated\n", plot.file_name);
    }
}
