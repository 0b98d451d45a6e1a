#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string scratch_path;

// The scratch directory goes when the fuzzer ends normally (a crash keeps it for inspection).
void remove_scratch_directory() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_path, ignored);
}

}  // namespace

const std::string& enter_scratch_directory() {
    if (scratch_path.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr || chdir(name.data()) != 0) std::abort();
        scratch_path = name.data();
        std::atexit(remove_scratch_directory);
    }
    return scratch_path;
}

std::string source_file(const std::string& relative) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
