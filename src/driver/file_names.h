#pragma once
#include <string>

#include "config/settings.h"
#include "driver/command_line.h"

constexpr const char* SOURCE_EXTENSION = ".lpf";
constexpr const char* REPORT_EXTENSION = ".place";

struct FileNames {
    std::string source_name;
    std::string destination_name;
};

/// Adds the default extensions, looking at the file name after the last folder separator only
/// ("/", and "\" as well on Windows): a source whose
/// file name has no "." gets ".lpf"; the report is the source with its file name cut at its last
/// "." plus ".place", beside the source, unless a destination is given. A destination that ends in
/// a separator or names an existing folder receives the report there under the report's file name; any
/// other destination whose file name has no "." gets ".place".
FileNames derive_file_names(const std::string& source_name, const std::string& destination_name);

/// The default name of an output beside the report: the report's name with its file name cut at
/// its last "." and `extension` (".review.html") added; without a report name, the extension
/// without its dot ("review.html").
std::string name_beside_report(const std::string& report_name, const std::string& extension);

/// True when the names are equal without regard to letter case.
bool names_match(const std::string& a, const std::string& b);

/// True when both names lead to the same existing file (another spelling, a link).
bool same_existing_file(const std::string& a, const std::string& b);

/// The files one run reads and writes.
struct RunFiles {
    std::string source;       // empty: the project comes from standard input
    std::string report;       // empty with an empty source: the report goes to standard output
    std::string review_page;  // empty: no review page
    std::string findings;     // the check's findings as CSV; empty: none
    std::string fixes;        // the check's suggested fixes; empty: none
    std::string bom;          // the bill of materials; empty: none
    std::string cpl;          // the placement list; empty: none
};

/// Names the run's files from the command line, else the command file's default names: the
/// default extensions as derive_file_names adds them, the review page, the bill of materials and
/// the placement list as given or beside the report, the findings and fixes files as given.
/// Refuses, with a FatalError, a report that is the project, and any other output that is the
/// project, the report or another output (by name without regard to letter case, or as the same
/// file).
RunFiles name_run_files(const Invocation& invocation, const Settings& settings);
