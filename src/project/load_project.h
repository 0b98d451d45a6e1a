#pragma once
#include <string>

#include "project/load_context.h"

/// Reads the footprints, then the parts, then puts the parts into designator order. The
/// text is let go before the ordering, so a large project is not held twice.
void load_project(std::string text, const LoadContext& context, Project& project);
