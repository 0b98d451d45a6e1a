#pragma once
#include <ostream>

#include "driver/report.h"

/// Format 2: one comma-separated, quoted line per part that is not excluded.
void write_csv_report(std::ostream& out, const Report& report);
