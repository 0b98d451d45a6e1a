#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

const std::string& enter_scratch_directory() {
    static const std::string path = [] {
        std::string pattern = "/tmp/tarnwick-fuzz-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr || chdir(name.data()) != 0) std::abort();
        return std::string(name.data());
    }();
    return path;
}

std::string source_file(const std::string& relative) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
