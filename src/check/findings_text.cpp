#include "check/findings_text.h"

#include <algorithm>
#include <string>

#include "common/line_writer.h"
#include "common/text.h"

namespace {

// Designators an entry names on the console and in the fixes before "and N more".
constexpr size_t LISTED_NAMES = 8;

// What an entry is about: "C0805 (SMD), 2 parts: C1, C2", the designator, or the record.
std::string subject(const Finding& finding, const Project& project) {
    if (finding.footprint < 0) return finding.subject;
    const FootprintRecord& footprint = project.footprints.records[static_cast<size_t>(finding.footprint)];
    std::string text = format_text("%s (%s), %d part%s: ", footprint.name.c_str(), technology_name(footprint.technology),
                                   static_cast<int>(finding.parts.size()), finding.parts.size() == 1 ? "" : "s");
    for (size_t i = 0; i < finding.parts.size() && i < LISTED_NAMES; ++i)
        text += (i > 0 ? ", " : "") + project.parts[static_cast<size_t>(finding.parts[i])].ref_des;
    if (finding.parts.size() > LISTED_NAMES)
        text += format_text(" and %d more", static_cast<int>(finding.parts.size() - LISTED_NAMES));
    return text;
}

std::string heading(const Finding& finding, const Project& project) {
    return std::string(kind_info(finding.kind).title) + ": " + subject(finding, project);
}

}  // namespace

void print_findings(std::ostream& console, const CheckFindings& result, const Project& project) {
    if (result.findings.empty()) {
        console << "\n\nPlacement check: nothing found\n";
        return;
    }
    // The section can run to many thousands of lines: it goes to the console (unbuffered
    // standard error) in pieces of some 64 KiB, not a line at a time, nor all in one string.
    constexpr size_t PIECE = size_t{1} << 16;
    std::string section = "\n\nPlacement check\n";
    int severity = -1;
    for (const Finding& finding : result.findings) {
        if (kind_info(finding.kind).severity != severity) {
            severity = kind_info(finding.kind).severity;
            section += severity == SEVERITY_ERROR ? "\nErrors, to mend before production:\n" : "\nNotes, worth a look:\n";
        }
        section += "  " + heading(finding, project) + "\n      " + finding.cause + "\n";
        if (!finding.fix.empty())
            section += (severity == SEVERITY_ERROR ? "      fix: " : "      fix if wanted: ") + finding.fix + "\n";
        if (section.size() >= PIECE) {
            console << section;
            section.clear();
        }
    }
    section += format_text("\nPlacement check: %d error%s, %d note%s\n", result.errors, result.errors == 1 ? "" : "s",
                           result.notes, result.notes == 1 ? "" : "s");
    console << section;
}

void write_findings_csv(std::ostream& out, const CheckFindings& result, const Project& project,
                        const ReportUnits& units) {
    const LengthFormat& length = units.listing;
    out << "Severity,Kind,Designator,Footprint,Side,Technology,Distance (" << length.word << "),Message,Fix\n";
    LineWriter row;
    for (const Finding& finding : result.findings) {
        const KindInfo& kind = kind_info(finding.kind);
        // A row about a part names it in its own fields; any other row says what it is about.
        const std::string message = finding.subject.empty() ? finding.cause : finding.subject + " " + finding.cause;
        const std::string_view footprint =
            finding.footprint >= 0 ? std::string_view(project.footprints.records[static_cast<size_t>(finding.footprint)].name)
                                   : std::string_view();
        // One row per part, or one row for a finding about no part.
        for (size_t i = 0; i < std::max<size_t>(finding.parts.size(), 1); ++i) {
            const PartRecord* part = finding.parts.empty() ? nullptr : &project.parts[static_cast<size_t>(finding.parts[i])];
            row.clear();
            row.put(severity_word(kind.severity)).put(',').put(kind.word).put(',');
            row.csv(part ? std::string_view(part->ref_des) : "").put(',').csv(part ? std::string_view(part->shape) : footprint);
            row.put(',').put(part ? side_name(*part) : "").put(',').put(part ? technology_name(part->technology) : "");
            row.put(',');
            if (i < finding.distances.size()) row.fixed(finding.distances[i] * length.per_inch, 1, length.decimals);
            row.put(',').csv(message).put(',').csv(finding.fix).put('\n');
            out << row.text();
        }
    }
}

void write_fixes(std::ostream& out, const CheckFindings& result, const Project& project, const ReportUnits& units,
                 const std::string& name) {
    print_to(out,
             "; Footprint lines that mend what the placement check found in \"%s\".\n"
             "; Include this file at the end of the command file (-A %s): a later line for a footprint\n"
             "; replaces the flag and centroid of an earlier one. Lengths in %s, as -U sets them there.\n"
             "; The notes' lines are commented out: take the semicolon away where you want one.\n",
             project.project_name.c_str(), name.c_str(), units.millimetres ? "millimetres" : "inches");
    for (const Finding& finding : result.findings) {
        if (finding.fix.empty()) continue;
        const bool note = kind_info(finding.kind).severity == SEVERITY_NOTE;
        out << "\n; " << (note ? "Note, " : "") << heading(finding, project) << "\n; " << finding.cause << "\n"
            << (note ? ";" : "") << finding.fix << "\n";
    }
}
