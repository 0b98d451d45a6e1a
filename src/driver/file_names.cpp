#include "driver/file_names.h"

#include <sys/stat.h>

#include "project/ordering.h"

FileNames derive_file_names(const std::string& source_name, const std::string& destination_name) {
    FileNames names{source_name, destination_name};
    std::string base_name = source_name;
    if (names.source_name.find('.') == std::string::npos) names.source_name += SOURCE_EXTENSION;
    size_t last_dot = base_name.rfind('.');
    if (last_dot != std::string::npos) base_name.resize(last_dot);
    base_name += REPORT_EXTENSION;
    if (names.destination_name.empty())
        names.destination_name = base_name;
    else if (names.destination_name.find('.') == std::string::npos)
        names.destination_name += REPORT_EXTENSION;
    return names;
}

bool names_match(const std::string& a, const std::string& b) { return compare_ignoring_case(a, b) == 0; }

bool same_existing_file(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
