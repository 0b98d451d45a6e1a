#pragma once
#include <ostream>

#include "driver/report_input.h"

/// Writes the report in the format `output_format` selects (-1 writes nothing; unknown values as 0).
void write_report(std::ostream& out, const ReportInput& input);
