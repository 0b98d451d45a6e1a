// The project reader as a whole: header, footprints with pins, parts, ordering.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/fatal.h"
#include "project/load_project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks settings that change the pin analysis and glue rules.
    Settings settings;
    if (size > 0) {
        settings.glue_technologies = data[0] & 15;
        settings.mechanical_normal = data[0] >> 4 & 1;
        settings.verbose = data[0] >> 5 & 1;
    }
    OverrideTable overrides;
    FootprintOverride override_record;
    override_record.name = "R0603";
    override_record.centroid_x = 0.01;
    override_record.centroid_y = -10.0;
    override_record.glue.add(0.02, 0.0, -1.0);
    overrides.add(override_record);

    std::ostringstream console;
    Project project;
    try {
        load_project(std::string(reinterpret_cast<const char*>(data), size),
                     LoadContext{settings, overrides, console}, project);
    } catch (const FatalError&) {
    }
    for (const PartRecord& part : project.parts)
        if (part.glue.count < 0 || part.footprint_index < 0 || part.footprint_index >= project.footprint_count())
            __builtin_trap();
    return 0;
}
