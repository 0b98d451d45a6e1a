// The command file reader with its commands, information records and footprint
// override lines. Include files are resolved in a scratch directory that holds
// two small files, one of which includes itself.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "common/files.h"
#include "config/command_file.h"
#include "driver/records_and_rotations.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    std::ofstream("inc.ini") << "-V 1\n-T 0.5\nR0603 1 0 0 0.1 0.1 0.02\n-I \"R1,R2\" inc 1 0.03\n";
    std::ofstream("self.ini") << "-A self.ini\n-H 3 20 \"self\"\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings settings;
    InfoTable info;
    OverrideTable overrides;
    std::ostringstream console;
    CommandReader reader{settings, info, overrides, console};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    read_command_file(reader, read_text_stream(in), "fuzz.ini");
    if (reader.include_depth != 0 || settings.user_column_count > MAX_USER_COLUMNS) __builtin_trap();

    PartRecord part;
    part.ref_des = "R1";
    part.glue.add(0.0, 0.0, 0.02);
    apply_info_record(info, part);
    return 0;
}
