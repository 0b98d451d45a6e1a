#pragma once
// The small Gerber (RS-274X) writer every plot line goes through: header with the
// target apertures, aperture selection, flashes, and segments that remember the pen
// so that repeated coordinates are left out. Coordinates are inches.
#include <ctime>
#include <ostream>
#include <string>


/// Coordinate format announced in the header: 2 integer and 6 decimal digits.
constexpr int COORDINATE_FORMAT = 26;
/// Inches to coordinate words: 10 to the power of the format's decimal digits.
constexpr double COORDINATE_SCALE = 1e6;
static_assert(COORDINATE_FORMAT % 10 == 6, "COORDINATE_SCALE holds 6 decimal digits");
/// Pen coordinate no plot reaches, so the first segment always begins with a move.
constexpr double PEN_UNSET = 1000000.0;

/// The last X and Y written by a move or a draw.
struct GerberPen {
    double pen_x = PEN_UNSET;
    double pen_y = PEN_UNSET;
};

/// The header: comments, format and unit, the five target macros scaled by
/// `target_scale` with their apertures, and the line aperture. Returns 1.
int write_gerber_header(std::ostream& file, const std::string& project_name, const char* side_name,
                        double target_scale, const std::string& time_text);

/// Selects aperture D10 to D15 for n 0 to 5 and returns 1; other n write nothing and return 0.
int select_aperture(std::ostream& file, int n);

/// One flash at (x, y). Returns 1.
int flash_at(std::ostream& file, double x, double y);

/// The X word (bit 1 of `which`) and the Y word (bit 2) of a move or draw; returns the number of words.
int format_coordinate_words(std::string& words, double x, double y, int which);

/// A straight segment with the selected aperture, leaving out the move when the pen already
/// stands on one end. Returns the characters written by the last write, <= 0 on failure.
int draw_segment(std::ostream& file, GerberPen& pen, double x1, double y1, double x2, double y2);

/// Outlines the axis-parallel rectangle (x1, y1)-(x2, y2); with `thicken` three nested outlines
/// `step` apart. Returns the result of the last segment.
int draw_rectangle(std::ostream& file, GerberPen& pen, int thicken, double step, double x1, double y1, double x2,
                   double y2);

/// The current local time in the C library's asctime layout, without its line feed.
std::string local_time_text();

/// `time` in the asctime layout ("Wed Jun  3 21:49:08 1993"), without a line feed.
std::string asctime_text(const std::tm& time);
