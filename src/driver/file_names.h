#pragma once
#include <string>

constexpr const char* SOURCE_EXTENSION = ".lpf";
constexpr const char* REPORT_EXTENSION = ".place";

struct FileNames {
    std::string source_name;
    std::string destination_name;
};

/// Adds the default extensions: ".lpf" to a source name without any "."; the report is
/// the source name cut at its last "." plus ".place" unless a destination is given, which
/// gets ".place" when it has no ".".
FileNames derive_file_names(const std::string& source_name, const std::string& destination_name);

/// True when the names are equal without regard to letter case.
bool names_match(const std::string& a, const std::string& b);

/// True when both names lead to the same existing file (another spelling, a link).
bool same_existing_file(const std::string& a, const std::string& b);
