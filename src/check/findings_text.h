#pragma once
// The placement check's findings as people and scripts read them: the console section, a CSV
// file of one row per part and finding, and the suggested fixes as a command-file fragment.
#include <ostream>

#include "check/check.h"

/// Prints the "Placement check" section: the errors, then the notes, one entry per cause with
/// its parts (the first few designators), the cause and the fix; then a count of each.
void print_findings(std::ostream& console, const CheckFindings& result, const Project& project);

/// Writes the findings as CSV (RFC 4180) with a heading line: one row per part and finding
/// (one row for a finding about no part), distances in the report's units.
void write_findings_csv(std::ostream& out, const CheckFindings& result, const Project& project,
                        const ReportUnits& units);

/// Writes every suggested fix line after a comment line that says why, as a fragment to include
/// at the end of the command file with -A: the errors' fixes active, the notes' commented out.
void write_fixes(std::ostream& out, const CheckFindings& result, const Project& project, const ReportUnits& units,
                 const std::string& name);
