#include "driver/run.h"

#include <memory>

#include "check/check.h"
#include "common/fatal.h"
#include "common/files.h"
#include "common/output_file.h"
#include "common/text.h"
#include "config/command_file.h"
#include "driver/command_line.h"
#include "driver/file_names.h"
#include "driver/records_and_rotations.h"
#include "driver/report.h"
#include "plot/plot.h"
#include "project/load_project.h"
#include "review/review.h"

namespace {

// Everything one run fills and reads, in one place for the whole run.
struct RunTables {
    Settings settings;
    InfoTable info;
    OverrideTable overrides;
    Project project;
    geometry::ProjectGeometry geometry;  // read only for the placement check and the review page
    GroupCounts top_counts;
    GroupCounts bottom_counts;
};

void print_banner(std::ostream& console) {
    print_to(console, "\n\n   Tarnwick - A Component Placement File Generator\n                    Ver %1.2lf%c\n\n",
             PROGRAM_VERSION, VERSION_LETTER);
}

// Writes what --help or --version asks for to standard output.
void print_information(Request request, std::FILE* standard_output) {
    FileOutputBuffer buffer(standard_output);
    std::ostream out(&buffer);
    if (request == Request::HELP)
        print_usage(out);
    else
        print_to(out, "Tarnwick %1.2lf%c\n", PROGRAM_VERSION, VERSION_LETTER);
    std::string failure = buffer.finish();
    if (!failure.empty())
        throw FatalError(format_text("\n\nFatal error: Can't write to standard output: %s\n\n", failure.c_str()));
}

FatalError cant_open(const std::string& name) {
    return FatalError(format_text("\n\nFatal error: Can't open output file \"%s\" \n\n", name.c_str()));
}

void read_settings(const Invocation& invocation, RunTables& tables, std::ostream& console) {
    std::string text;
    if (invocation.command_file_name.empty() || !read_text_file(invocation.command_file_name, text)) return;
    CommandReader reader{tables.settings, tables.info, tables.overrides, console};
    read_command_file(reader, text, invocation.command_file_name);
}

// Derives the file names, refuses a destination that is the source, reads the source and opens
// the report. Returns false when the project is to come from standard input.
bool open_files(Invocation& invocation, const Settings& settings, std::string& source, OutputFile& report) {
    if (invocation.source_name.empty() && !settings.default_source_name.empty()) {
        invocation.source_name = settings.default_source_name;
        invocation.destination_name = settings.default_destination_name;
    }
    if (invocation.source_name.empty()) return false;
    FileNames names = derive_file_names(invocation.source_name, invocation.destination_name);
    if (names_match(names.source_name, names.destination_name) ||
        same_existing_file(names.source_name, names.destination_name))
        throw FatalError("\n\nFatal error: Source and Destination names match\n\n");
    if (!read_text_file(names.source_name, source))
        throw FatalError(format_text("\n\nFatal error: Source file \"%s\" not found \n\n", names.source_name.c_str()));
    if (settings.output_format >= 0 && !report.create(names.destination_name))
        throw cant_open(names.destination_name);
    invocation.source_name = names.source_name;
    invocation.destination_name = names.destination_name;
    return true;
}

// Opens the review page as the report is opened, before anything is read: --review=FILE, else
// the report's name with ".review.html". It must be neither the project nor the report.
std::string open_review_page(const Invocation& invocation, bool source_named, OutputFile& page) {
    const std::string name = !invocation.review_name.empty()
                                 ? invocation.review_name
                                 : review_page_name(source_named ? invocation.destination_name : "");
    for (const std::string* other : {&invocation.source_name, &invocation.destination_name})
        if (source_named && (names_match(name, *other) || same_existing_file(name, *other)))
            throw FatalError(format_text("\n\nFatal error: Review page \"%s\" would replace \"%s\"\n\n",
                                         name.c_str(), other->c_str()));
    if (!page.create(name)) throw cant_open(name);
    return name;
}

// After the report: the placement check's findings, for the console (--check) and for the review
// page (--review), which is written whole or not at all. Returns the run's exit status.
int check_and_review(const Invocation& invocation, const RunTables& tables, OutputFile& page,
                     const std::string& page_name, std::ostream& console) {
    if (!invocation.check && !invocation.review) return 0;
    const CheckFindings findings = check_placement(
        CheckInput{tables.settings, tables.info, tables.overrides, tables.project, tables.geometry});
    if (invocation.review) {
        write_review_page(page.stream(), ReviewInput{tables.settings, tables.project, tables.geometry, findings});
        page.finish();
        print_to(console, "\nReview page %s written\n", page_name.c_str());
    }
    if (!invocation.check) return 0;
    print_findings(console, findings);
    return findings.total() > 0 ? 2 : 0;
}

// With no project named, it comes from standard input: a pipe or a file, never a person typing.
void refuse_terminal_input(const RunEnvironment& environment) {
    if (!environment.input_is_terminal) return;
    throw FatalError(
        "\n\nFatal error: no project file named, and standard input is a terminal.\n"
        "Name the project file (Tarnwick board) or send it through a pipe (Tarnwick < board.lpf);\n"
        "Tarnwick --help tells more.\n\n");
}

// The report goes to its file, put in place only when complete, or to standard output.
void write_report_out(const ReportInput& input, bool to_file, OutputFile& report_file, std::FILE* standard_output) {
    if (to_file) {
        if (input.settings.output_format < 0) return;
        write_report(report_file.stream(), input);
        report_file.finish();
        return;
    }
    FileOutputBuffer buffer(standard_output);
    std::ostream out(&buffer);
    write_report(out, input);
    std::string failure = buffer.finish();
    if (!failure.empty())
        throw FatalError(
            format_text("\n\nFatal error: Can't write the report to standard output: %s\n\n", failure.c_str()));
}

}  // namespace

int run(const std::vector<std::string>& arguments, RunEnvironment& environment) {
    if (Request request = requested_action(arguments); request != Request::RUN) {
        print_information(request, environment.standard_output);
        return 0;
    }
    std::ostream& console = environment.console;
    auto tables = std::make_unique<RunTables>();
    Settings& settings = tables->settings;
    Project& project = tables->project;

    print_banner(console);
    Invocation invocation = parse_command_line(arguments, console);
    read_settings(invocation, *tables, console);

    std::string source;
    OutputFile report_file;
    const bool source_named = open_files(invocation, settings, source, report_file);
    OutputFile review_page;
    const std::string review_name = invocation.review ? open_review_page(invocation, source_named, review_page) : "";
    if (!source_named) refuse_terminal_input(environment);

    // The glyph store is half a megabyte: made only for a run that plots.
    std::unique_ptr<GlyphStore> glyphs;
    if (settings.check_gerbers != 0) {
        glyphs = std::make_unique<GlyphStore>();
        FontPlaces places{settings.font_file, environment.font_directory,
                          installed_font_path(environment.program_path)};
        load_stroke_font(*glyphs, places, settings.verbose, console);
    }

    if (!source_named) source = read_text_stream(environment.standard_input);
    // The pads and outlines are read from the same text, and only when the check or the page needs them.
    if (invocation.check || invocation.review) tables->geometry = geometry::read_project_geometry(source);
    load_project(std::move(source), LoadContext{settings, tables->overrides, console}, project);
    print_to(console, "%4d Footprints found.\n%4d Parts found.\n\n", project.footprint_count(), project.part_count());

    apply_records_and_rotations(project.parts, tables->info, settings);
    count_groups(project.parts, tables->top_counts, tables->bottom_counts);
    ReportInput report{settings, project, tables->top_counts, tables->bottom_counts,
                       prepare_info_column(settings.info_heading)};

    if (settings.check_gerbers != 0) {
        PlotInput plot{settings, project, tables->top_counts, tables->bottom_counts, *glyphs, environment.time_text};
        GerberPen pen;
        write_verification_plots(plot, pen, "", console);
    }

    write_report_out(report, source_named, report_file, environment.standard_output);
    const int status = check_and_review(invocation, *tables, review_page, review_name, console);
    console << "\nDone!\n";
    return status;
}
