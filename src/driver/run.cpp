#include "driver/run.h"

#include <memory>

#include "check/check.h"
#include "check/findings_text.h"
#include "common/fatal.h"
#include "common/files.h"
#include "common/output_file.h"
#include "common/text.h"
#include "config/command_file.h"
#include "driver/command_line.h"
#include "driver/file_names.h"
#include "driver/records_and_rotations.h"
#include "driver/report.h"
#include "order/assembly.h"
#include "plot/plot.h"
#include "project/load_project.h"
#include "review/review.h"

namespace {

// What the command file gives the run: the settings, the information records and the footprint
// override lines.
struct Configuration {
    Settings settings;
    InfoTable info;
    OverrideTable overrides;
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

// Reads the command file, when there is one to read; a missing default command file is no error.
void read_configuration(const std::string& command_file_name, Configuration& configuration, std::ostream& console) {
    std::string text;
    if (command_file_name.empty() || !read_text_file(command_file_name, text)) return;
    CommandReader reader{configuration.settings, configuration.info, configuration.overrides, console};
    read_command_file(reader, text, command_file_name);
}

// Creates the output file's temporary file, or ends the run.
void open_output(OutputFile& file, const std::string& name) {
    if (!file.create(name))
        throw FatalError(format_text("\n\nFatal error: Can't open output file \"%s\" \n\n", name.c_str()));
}

// With no project named, it comes from standard input: a pipe or a file, never a person typing.
void refuse_terminal_input(const RunEnvironment& environment) {
    if (!environment.input_is_terminal) return;
    throw FatalError(
        "\n\nFatal error: no project file named, and standard input is a terminal.\n"
        "Name the project file (Tarnwick board) or send it through a pipe (Tarnwick < board.lpf);\n"
        "Tarnwick --help tells more.\n\n");
}

// The glyph store is half a megabyte, too large for the stack: made only for a run that plots.
std::unique_ptr<GlyphStore> load_font(const Settings& settings, const RunEnvironment& environment) {
    auto glyphs = std::make_unique<GlyphStore>();
    FontPlaces places{settings.font_file, environment.font_directory, installed_font_path(environment.program_path)};
    load_stroke_font(*glyphs, places, settings.verbose, environment.console);
    return glyphs;
}

// The report goes to its file, put in place only when complete, or to standard output.
void write_report_out(const ReportInput& input, const RunFiles& files, OutputFile& report_file,
                      std::FILE* standard_output) {
    if (!files.source.empty()) {
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

// The run's outputs but the plots (which open their files as they write them), each written
// whole or not at all.
struct RunOutputs {
    OutputFile report;
    OutputFile review_page;
    OutputFile findings;
    OutputFile fixes;
    OutputFile bom;
    OutputFile cpl;
};

// Opens the outputs the run names, before anything is read: the report (unless it goes to
// standard output or format -1 writes none), then the others.
void open_outputs(const RunFiles& files, const Settings& settings, RunOutputs& outputs) {
    if (!files.source.empty() && settings.output_format >= 0) open_output(outputs.report, files.report);
    const std::pair<const std::string*, OutputFile*> named[] = {{&files.review_page, &outputs.review_page},
                                                                {&files.findings, &outputs.findings},
                                                                {&files.fixes, &outputs.fixes},
                                                                {&files.bom, &outputs.bom},
                                                                {&files.cpl, &outputs.cpl}};
    for (const auto& [name, file] : named)
        if (!name->empty()) open_output(*file, *name);
}

// The bill of materials and the placement list, when asked for.
void write_assembly_files(const RunFiles& files, RunOutputs& outputs, const Project& project, BoardPoint origin,
                          std::ostream& console) {
    if (!files.bom.empty()) {
        write_bill_of_materials(outputs.bom.stream(), project.parts, project.footprint_count());
        outputs.bom.finish();
        print_to(console, "\nBill of materials %s written\n", files.bom.c_str());
    }
    if (!files.cpl.empty()) {
        write_placement_list(outputs.cpl.stream(), project.parts, origin);
        outputs.cpl.finish();
        print_to(console, "\nPlacement list %s written\n", files.cpl.c_str());
    }
}

// After the report: the placement check's findings, on the console (--check) and in the outputs
// named. Returns the run's exit status: 2 when --check found an error.
int check_and_review(const Invocation& invocation, const CheckInput& input, BoardPoint origin, const RunFiles& files,
                     RunOutputs& outputs, std::ostream& console) {
    const CheckFindings findings = check_placement(input);
    if (!files.review_page.empty()) {
        write_review_page(outputs.review_page.stream(), ReviewInput{input.units, input.project, input.board, findings,
                                                                    origin, invocation.review_code_page});
        outputs.review_page.finish();
        print_to(console, "\nReview page %s written\n", files.review_page.c_str());
    }
    if (!files.findings.empty()) {
        write_findings_csv(outputs.findings.stream(), findings, input.project, input.units);
        outputs.findings.finish();
    }
    if (!files.fixes.empty()) {
        write_fixes(outputs.fixes.stream(), findings, input.project, input.units, files.fixes);
        outputs.fixes.finish();
    }
    if (!invocation.check) return 0;
    print_findings(console, findings, input.project);
    return findings.errors > 0 ? 2 : 0;
}

}  // namespace

int run(const std::vector<std::string>& arguments, RunEnvironment& environment) {
    if (Request request = requested_action(arguments); request != Request::RUN) {
        print_information(request, environment.standard_output);
        return 0;
    }
    std::ostream& console = environment.console;
    print_banner(console);
    const Invocation invocation = parse_command_line(arguments, console);
    Configuration configuration;
    read_configuration(invocation.command_file_name, configuration, console);
    Settings& settings = configuration.settings;  // final, but for the two the plots change

    const RunFiles files = name_run_files(invocation, settings);
    std::string source;
    if (!files.source.empty() && !read_text_file(files.source, source))
        throw FatalError(format_text("\n\nFatal error: Source file \"%s\" not found \n\n", files.source.c_str()));
    RunOutputs outputs;
    open_outputs(files, settings, outputs);
    if (files.source.empty()) refuse_terminal_input(environment);

    const std::unique_ptr<GlyphStore> glyphs = settings.check_gerbers != 0 ? load_font(settings, environment) : nullptr;
    if (files.source.empty()) source = read_text_stream(environment.standard_input);
    // The check and the review page need every footprint's copper; a plain run leaves it unread.
    const bool checked = invocation.check || !files.review_page.empty() || !files.findings.empty() || !files.fixes.empty();
    Project project;
    load_project(std::move(source), LoadContext{settings, configuration.overrides, console, checked}, project);
    print_to(console, "%4d Footprints found.\n%4d Parts found.\n\n", project.footprint_count(), project.part_count());

    apply_records_and_rotations(project.parts, configuration.info, settings);
    GroupCounts top_counts, bottom_counts;
    count_groups(project.parts, top_counts, bottom_counts);
    const ReportUnits units = report_units(settings);
    const BoardPoint origin = placement_origin(invocation.origin, project, units);

    if (settings.check_gerbers != 0) {
        PlotInput plot{settings, project, top_counts, bottom_counts, *glyphs, environment.time_text};
        GerberPen pen;
        write_verification_plots(plot, pen, "", console);
    }
    write_report_out(ReportInput{settings, project, top_counts, bottom_counts, prepare_info_column(settings.info_heading), units},
                     files, outputs.report, environment.standard_output);
    write_assembly_files(files, outputs, project, origin, console);
    int status = 0;
    if (checked) {
        const geometry::BoardRings board = geometry::board_rings(project);
        status = check_and_review(invocation,
                                  CheckInput{units, configuration.info, configuration.overrides, project, board},
                                  origin, files, outputs, console);
    }
    console << "\nDone!\n";
    return status;
}
