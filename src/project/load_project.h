#pragma once
#include "common/text_lines.h"
#include "project/load_context.h"

/// Reads the footprints, then the parts, then puts the parts into designator order.
void load_project(const TextLines& text, const LoadContext& context, Project& project);
