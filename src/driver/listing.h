#pragma once
#include <ostream>

#include "driver/report.h"

/// The header shared by the fixed-width and user-column reports.
void write_report_header(std::ostream& out, const Report& report);

/// Format 0: every part that is not excluded, in table order.
void write_plain_listing(std::ostream& out, const Report& report);

/// Format 1: the parts grouped by side and technology class.
void write_grouped_listing(std::ostream& out, const Report& report);
