#include "project/load_project.h"

#include "project/footprints.h"
#include "project/ordering.h"
#include "project/parts.h"

void load_project(TextLines text, const LoadContext& context, Project& project) {
    // The parts are read beside the footprints; a footprint error ends both.
    PartsReading parts(text, project);
    read_footprints(text, context, project, parts.footprint_progress());
    parts.footprints_complete();
    parts.finish();
    text = TextLines{};
    sort_parts(project.parts);
}
