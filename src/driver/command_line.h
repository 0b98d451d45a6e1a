#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "order/assembly.h"
#include "review/code_pages.h"

constexpr const char* DEFAULT_COMMAND_FILE = "Tarnwick.ini";

/// What the command line asks for.
struct Invocation {
    std::string command_file_name = DEFAULT_COMMAND_FILE;  // empty: read no command file
    std::string source_name;                               // empty: read the project from standard input
    std::string destination_name;
    bool check = false;       // --check: the placement check after the report
    bool review = false;      // --review: the review page after the report
    std::string review_name;  // --review=FILE; empty: named after the report
    std::string findings_name;  // --findings=FILE: the check's findings as CSV; empty: none
    std::string fixes_name;     // --fixes=FILE: the check's suggested fixes; empty: none
    std::string review_encoding;                 // --review-encoding=NAME as given
    const CodePage* review_code_page = nullptr;  // what it names; nullptr: UTF-8 or Windows-1252
    bool bom = false;           // --bom: the bill of materials
    std::string bom_name;       // --bom=FILE; empty: named after the report
    bool cpl = false;           // --cpl: the placement list for an assembly service
    std::string cpl_name;       // --cpl=FILE; empty: named after the report
    std::string origin_text;    // --origin=file|board|X,Y as given
    OriginChoice origin;        // what origin_text says: the placement list's origin
};

/// What a run does besides the placement work.
enum class Request { RUN, HELP, VERSION };

/// HELP when a switch is "--help", "-h" or "-H", VERSION for "--version", else RUN; the first of
/// them among the switches counts.
Request requested_action(const std::vector<std::string>& arguments);

/// Reads the switches (those before the first other argument) and the two names.
/// `-I<name>` names the command file and must exist; `--check` asks for the placement check,
/// `--review` or `--review=FILE` for the review page, `--review-encoding=NAME` the code page of its
/// texts (an unknown name is a fatal error). A long switch ("--...") that is none of the
/// known ones stops the run (FatalError, naming the nearest known one) before anything is read;
/// other single-letter switches are reported and ignored. A destination that looks like a
/// switch, arguments after the destination and a source name ending in ".ini" right after a bare
/// `-I` are warned about.
Invocation parse_command_line(const std::vector<std::string>& arguments, std::ostream& console);

/// The short usage that --help prints.
void print_usage(std::ostream& out);
