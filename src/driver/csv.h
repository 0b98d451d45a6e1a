#pragma once
#include <ostream>

#include "common/line_writer.h"
#include "driver/report_input.h"

/// Format 2: one comma-separated, quoted line per part that is not excluded.
void write_csv_report(std::ostream& out, const ReportInput& input);

/// One line of format 2 for a part that is not excluded, with its line end.
LineWriter& format_csv_row(LineWriter& row, const ReportInput& input, const PartRecord& part);
