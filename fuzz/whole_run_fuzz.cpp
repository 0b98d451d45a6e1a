// A whole run from project bytes on standard input to the report on standard
// output, both verification plots and the placement check, with the example's font
// and a command file that turns everything on.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "common/fatal.h"
#include "driver/run.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    std::ofstream("font.xml") << source_file("examples/font.xml");
    std::ofstream("Tarnwick.ini") << "-C 1\n-F 1 Info\n-I \"R1 C1\" hand 0 0.02\nR0603 0 0 0 0.01 0.01\n-R B 1 90 1\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    static std::FILE* const output = std::fopen("/dev/null", "w");
    std::ostringstream console;
    RunEnvironment environment{input, false, output, console, std::nullopt, std::nullopt, "Thu Jan  1 00:00:00 2026"};
    try {
        // With the placement check and the review page, which run after everything a run
        // without them does.
        run({"--check", "--review=page.html"}, environment);
    } catch (const FatalError&) {
    }
    // The page's data can never end its script element.
    {
        std::ifstream in("page.html");
        std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string open = "type=\"application/json\">";
        size_t data = page.find(open);
        if (data != std::string::npos && page.find('<', data + open.size()) != page.find("</script>", data))
            __builtin_trap();
        std::remove("page.html");
    }
    for (const char* plot : {"TopPlace.gbr", "BottomPlace.gbr"}) {
        std::ifstream in(plot);
        std::string line;
        while (std::getline(in, line))
            if (line.find("nan") != std::string::npos || line.find("inf") != std::string::npos)
                if (line.rfind("G04", 0) != 0) __builtin_trap();
        std::remove(plot);
    }
    return 0;
}
