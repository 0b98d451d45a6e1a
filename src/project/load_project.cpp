#include "project/load_project.h"

#include "project/footprints.h"
#include "project/ordering.h"
#include "project/parts.h"

void load_project(std::string text, const LoadContext& context, Project& project) {
    read_footprints(text, context, project);
    read_parts(text, project);
    std::string().swap(text);
    sort_parts(project.parts);
}
