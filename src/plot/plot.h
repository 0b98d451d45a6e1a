#pragma once
// The two verification plots: every part's placement point flashed with its
// technology's target, every glue spot with the glue target, and a labelled legend.
#include <ostream>
#include <string>

#include "config/settings.h"
#include "plot/font.h"
#include "plot/gerber.h"
#include "project/records.h"

constexpr const char* TOP_PLOT_FILE = "TopPlace.gbr";
constexpr const char* BOTTOM_PLOT_FILE = "BottomPlace.gbr";

/// What the plots read, and the two settings they change (the mode is clamped and the
/// legend origin moves down after the top file).
struct PlotInput {
    Settings& settings;
    const Project& project;
    const GroupCounts& top_counts;
    const GroupCounts& bottom_counts;
    const GlyphStore& glyphs;
    std::string time_text;
};

/// Writes one side's plot (side 0 top, 1 bottom) to `file`; returns the final legend offset.
double write_side_plot(std::ostream& file, GerberPen& pen, const PlotInput& input, unsigned side);

/// Writes TopPlace.gbr and BottomPlace.gbr into `directory` for the sides that have parts to
/// place; nothing when the plot mode is 0. A file that cannot be opened is fatal.
void write_verification_plots(PlotInput& input, GerberPen& pen, const std::string& directory, std::ostream& console);
