// Tarnwick: turns a layout project file into a component placement report and,
// on request, verification plots.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>

#include "common/fatal.h"
#include "common/text.h"
#include "driver/run.h"
#include "platform/interrupts.h"
#include "platform/names.h"
#include "platform/program_path.h"
#include "platform/standard_streams.h"
#include "plot/font.h"
#include "plot/gerber.h"

int main(int argc, char** argv) {
    prepare_standard_streams();
    ConsoleInProgramCodePage console_code_page;
    remove_files_on_interrupt();
    // The report can run to many megabytes; large pieces mean few system calls.
    std::setvbuf(stdout, nullptr, _IOFBF, size_t{1} << 16);
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const char* font_directory = std::getenv(FONT_DIRECTORY_VARIABLE);
    RunEnvironment environment{std::cin,
                               standard_input_is_terminal(),
                               stdout,
                               std::cerr,
                               font_directory != nullptr ? std::optional<std::string>(font_directory) : std::nullopt,
                               program_path(),
                               local_time_text()};
    try {
        // A name is used as typed or not at all.
        if (int changed = changed_argument(argc, argv); changed != 0)
            throw FatalError(format_text("\n\nFatal error: Argument %d can't be taken as typed: Windows gives it as \"%s\"\n\n",
                                         changed, argv[changed]));
        return run(arguments, environment);
    } catch (const FatalError& error) {
        std::cerr << error.what();
        std::cerr.flush();
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "\nFatal error: out of memory\n";
        return 1;
    }
}
