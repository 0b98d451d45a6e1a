#pragma once
// Helpers shared by the tests: scratch directories, files, and running the built
// executable as a user would.
#include <string>

/// A fresh directory under the system's temporary directory, removed with its content.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path;
    std::string file(const std::string& name) const { return path + "/" + name; }
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);
bool file_exists(const std::string& path);
/// Names of the files in `dir`, sorted, separated by blanks.
std::string list_dir(const std::string& dir);

/// A file of the source tree, by its path relative to the top.
std::string source_path(const std::string& relative);

/// Copies the bundled example's project, command file and font into `dir`.
void copy_example(const ScratchDir& dir);

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

/// The program under test: the Tarnwick executable of this build, or the one that the environment
/// variable TARNWICK_PROGRAM names (another build, or the Windows program's wrapper).
std::string tested_program();

/// Runs the Tarnwick executable (or the one the environment variable TARNWICK_PROGRAM names) in
/// `dir` with `arguments` (shell words) and `input` on standard input; `environment` is prefixed
/// to the command (for example "VexlorFont=/x").
CliResult run_tarnwick(const std::string& dir, const std::string& arguments, const std::string& input = "",
                       const std::string& environment = "");

/// `prefix` followed by the number, as in "R12". (Written out because g++ 12 warns wrongly about
/// a literal plus std::to_string in optimised builds.)
std::string numbered(const std::string& prefix, long long number);

/// True when the program under test is the Windows build (run under Wine through the
/// TARNWICK_PROGRAM wrapper; TARNWICK_WINDOWS_EXE names it).
bool program_is_windows();

/// The banner every run prints first.
extern const char* const BANNER;
