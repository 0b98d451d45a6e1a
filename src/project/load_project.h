#pragma once
#include "common/text_lines.h"
#include "project/load_context.h"

/// Reads the footprints and, beside them in a second thread, the parts, then puts the parts
/// into designator order; results and errors are those of reading the footprints first. The
/// text is let go before the ordering, so a large project is not held twice.
void load_project(TextLines text, const LoadContext& context, Project& project);
