#pragma once
#include <ostream>

#include "common/line_writer.h"
#include "driver/report_input.h"

/// The header shared by the fixed-width and user-column reports.
void write_report_header(std::ostream& out, const ReportInput& input);

/// Format 0: every part that is not excluded, in table order.
void write_plain_listing(std::ostream& out, const ReportInput& input);

/// Format 1: the parts grouped by side and technology class.
void write_grouped_listing(std::ostream& out, const ReportInput& input);

/// One row of formats 0 and 1 for `part`, printed with these side and class names and this glue
/// diameter; the row begins with its line feed and has no line end of its own.
void format_listing_row(LineWriter& row, const ReportInput& input, const PartRecord& part, const char* side,
                        const char* technology, double glue_dia);
