#include "driver/file_names.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "common/fatal.h"
#include "common/text.h"
#include "platform/names.h"
#include "platform/paths.h"

namespace {

// Where the file name begins: after the last folder separator.
size_t file_name_start(const std::string& name) {
    size_t start = name.size();
    while (start > 0 && !is_path_separator(name[start - 1])) --start;
    return start;
}

bool file_name_has_dot(const std::string& name) { return name.find('.', file_name_start(name)) != std::string::npos; }

// The name with its file name cut at the file name's last ".", if it has one.
std::string without_extension(const std::string& name) {
    size_t last_dot = name.rfind('.');
    return last_dot != std::string::npos && last_dot >= file_name_start(name) ? name.substr(0, last_dot) : name;
}

bool is_folder(const std::string& name) {
    std::error_code failed;
    return std::filesystem::is_directory(file_system_path(name), failed);
}

}  // namespace

FileNames derive_file_names(const std::string& source_name, const std::string& destination_name) {
    FileNames names{source_name, destination_name};
    if (!file_name_has_dot(source_name)) names.source_name += SOURCE_EXTENSION;
    const std::string base_name = without_extension(source_name) + REPORT_EXTENSION;

    std::string& destination = names.destination_name;
    if (destination.empty()) {
        destination = base_name;
    } else if (is_path_separator(destination.back()) || is_folder(destination)) {
        end_with_separator(destination);
        destination += base_name.substr(file_name_start(base_name));
    } else if (!file_name_has_dot(destination)) {
        destination += REPORT_EXTENSION;
    }
    return names;
}

std::string name_beside_report(const std::string& report_name, const std::string& extension) {
    return report_name.empty() ? extension.substr(1) : without_extension(report_name) + extension;
}

bool names_match(const std::string& a, const std::string& b) { return compare_ignoring_case(a, b) == 0; }

bool same_existing_file(const std::string& a, const std::string& b) {
    std::error_code failed;
    return std::filesystem::equivalent(file_system_path(a), file_system_path(b), failed) && !failed;
}

RunFiles name_run_files(const Invocation& invocation, const Settings& settings) {
    const bool from_command_file = invocation.source_name.empty();
    const std::string& source = from_command_file ? settings.default_source_name : invocation.source_name;
    const std::string& destination = from_command_file ? settings.default_destination_name : invocation.destination_name;
    RunFiles files;
    if (!source.empty()) {
        FileNames names = derive_file_names(source, destination);
        if (names_match(names.source_name, names.destination_name) ||
            same_existing_file(names.source_name, names.destination_name))
            throw FatalError("\n\nFatal error: Source and Destination names match\n\n");
        files.source = std::move(names.source_name);
        files.report = std::move(names.destination_name);
    }
    auto named = [&files](bool wanted, const std::string& given, const char* extension) {
        return !wanted ? std::string() : !given.empty() ? given : name_beside_report(files.report, extension);
    };
    files.review_page = named(invocation.review, invocation.review_name, ".review.html");
    files.findings = invocation.findings_name;
    files.fixes = invocation.fixes_name;
    files.bom = named(invocation.bom, invocation.bom_name, ".bom.csv");
    files.cpl = named(invocation.cpl, invocation.cpl_name, ".cpl.csv");
    // Each further output against the project, the report and the outputs named before it.
    const std::pair<const char*, const std::string*> outputs[] = {
        {"Review page", &files.review_page}, {"Findings file", &files.findings}, {"Fixes file", &files.fixes},
        {"Bill of materials", &files.bom},   {"Placement list", &files.cpl}};
    std::vector<const std::string*> taken;
    if (!files.source.empty()) taken = {&files.source, &files.report};
    for (const auto& [what, name] : outputs) {
        if (name->empty()) continue;
        for (const std::string* other : taken)
            if (names_match(*name, *other) || same_existing_file(*name, *other))
                throw FatalError(format_text("\n\nFatal error: %s \"%s\" would replace \"%s\"\n\n", what,
                                             name->c_str(), other->c_str()));
        taken.push_back(name);
    }
    return files;
}
