#pragma once
#include "common/lines.h"
#include "project/load_context.h"

/// The numbers of a footprint's "sel_rect:" line, in file units.
struct SelectionRect {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

/// Reads the footprint's pin list from `cursor` (positioned after "sel_rect:") and sets
/// its pin count, pad flags and technology class. Returns the listed pin count, -1 when
/// the "n_pins:" line has no number, -2 when the file ends before one.
int read_pins(FootprintRecord& footprint, double scale, LineCursor& cursor, const LoadContext& context);

/// Completes a footprint on its "sel_rect:" line: default centroid, pin analysis, glue by
/// technology, the command file's override and the default glue spot.
void complete_footprint(FootprintRecord& footprint, double scale, const SelectionRect& rect, LineCursor& cursor,
                        const LoadContext& context);

/// Reads a footprint outline line ("outline_polyline:", "next_corner:", "close_polyline:") into
/// the footprint's outlines; false for any other line.
bool read_outline_line(std::string_view line, double scale, FootprintRecord& footprint);

/// The technology class that the pin analysis gives for these counts.
int decide_technology(int pad_flags, int listed_pins, int drilled_pins, int mechanical_normal);
