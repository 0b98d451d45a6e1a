#include "test_support.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

const char* const BANNER = "\n\n   Tarnwick - A Component Placement File Generator\n                    Ver 1.41R\n\n";

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "tarnwick-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = name.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool file_exists(const std::string& path) { return fs::exists(path); }

std::string list_dir(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
    return listing;
}

std::string numbered(const std::string& prefix, long long number) {
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

bool program_is_windows() { return std::getenv("TARNWICK_WINDOWS_EXE") != nullptr; }

std::string source_path(const std::string& relative) { return std::string(TARNWICK_SOURCE_DIR) + "/" + relative; }

void copy_example(const ScratchDir& dir) {
    for (const char* file : {"demo_board.lpf", "Tarnwick.ini", "font.xml"})
        write_file(dir.file(file), read_file(source_path(std::string("examples/") + file)));
}

std::string tested_program() {
    // TARNWICK_PROGRAM runs another build of the program through the same cases.
    const char* other_program = std::getenv("TARNWICK_PROGRAM");
    return other_program != nullptr ? other_program : TARNWICK_EXE;
}

CliResult run_tarnwick(const std::string& dir, const std::string& arguments, const std::string& input,
                       const std::string& environment) {
    ScratchDir io;
    write_file(io.file("stdin"), input);
    const std::string program = tested_program();
    std::string command = "cd '" + dir + "' && env -u VexlorFont " + environment + " '" + program + "' " +
                          arguments + " <'" + io.file("stdin") + "' >'" + io.file("stdout") + "' 2>'" +
                          io.file("stderr") + "'";
    int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = read_file(io.file("stdout"));
    result.err = read_file(io.file("stderr"));
    return result;
}
