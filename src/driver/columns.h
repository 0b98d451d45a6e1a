#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "driver/report_input.h"

/// Formats 3 (all parts) and 4 (grouped by side and class) from the user-defined columns.
void write_column_report(std::ostream& out, const ReportInput& input, int format);

/// The heading line and the dash line of the user columns.
void write_column_headings(std::ostream& out, const Settings& settings);

/// One row of user columns for `part`.
void write_column_row(std::ostream& out, const ReportInput& input, const PartRecord& part);

/// The cell texts a column of `type` holds for `part`: one per glue spot for the
/// adhesive types, none for an unknown type, else one.
std::vector<std::string> column_cells(const ReportInput& input, const PartRecord& part, int type);
