#pragma once
// The two files an assembly service asks for besides the layout's Gerbers: a bill of materials,
// one row per part kind, and a placement list in the common comma-separated layout.
#include <ostream>
#include <string_view>

#include "config/settings.h"
#include "project/records.h"

/// Where the placement list measures its coordinates from (--origin).
struct OriginChoice {
    enum Kind { PROJECT_ORIGIN, BOARD_CORNER, GIVEN_POINT };
    Kind kind = PROJECT_ORIGIN;
    double x = 0.0, y = 0.0;  // the given point, in the report's units
};

/// Reads the value of --origin: "file", "board" or "X,Y" (two plain numbers); false for anything else.
bool parse_origin(std::string_view text, OriginChoice& choice);

/// The origin in board inches: the project's own (0, 0), the lower-left corner of the box around
/// the board outline, or the point given in the report's units (as it prints the placement point). Choosing the board's corner for a
/// project without a board outline is a FatalError.
BoardPoint placement_origin(const OriginChoice& choice, const Project& project, const ReportUnits& units);

/// The bill of materials as CSV: a heading line, then one row per value and footprint of the
/// placed parts (quantity, value, footprint, designators, side, technology, the information text
/// the group's parts share, fitted "yes") in the order of each group's first designator, then
/// the excluded parts' groups likewise, fitted "no". Every part's footprint index is below
/// `footprint_count`.
void write_bill_of_materials(std::ostream& out, const PartTable& parts, int footprint_count);

/// The placement list as CSV: a heading line, then one row per placed part in the report's
/// order: designator, value, footprint, the placement point in millimetres from `origin` with
/// three decimals, the layer and the report's rotation (0 to 359).
void write_placement_list(std::ostream& out, const PartTable& parts, BoardPoint origin);
