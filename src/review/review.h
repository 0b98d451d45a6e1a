#pragma once
// The review page (--review): one self-contained HTML file that draws the board with its
// outline, every part's copper pads and body outline, the placement point and glue spots as the
// report gives them to the machine, and the placement check's findings; with a table of the
// parts. The page's template is built into the program; the board's data go into it as JSON.
#include <ostream>
#include <string>

#include "check/check.h"
#include "config/settings.h"
#include "geometry/geometry.h"
#include "project/records.h"
#include "review/code_pages.h"

/// What the page shows: the project as the report shows it (footprints with their copper), the
/// board outline flattened, the report's units and the check's findings; the report's origin,
/// board inches, for the axes the page draws; the code page of the texts (--review-encoding).
struct ReviewInput {
    const ReportUnits& units;
    const Project& project;
    const geometry::BoardRings& board;
    const CheckFindings& findings;
    BoardPoint origin{0.0, 0.0};
    const CodePage* code_page = nullptr;  // nullptr: UTF-8 when every text is valid UTF-8, else Windows-1252
};

/// The board's data for the page as JSON, its texts in UTF-8; every "<" is written as \u003c, so
/// that the text can never end the page's script element.
std::string review_data(const ReviewInput& input);

/// Writes the page: the built-in template with the board's data in place of its placeholder.
void write_review_page(std::ostream& out, const ReviewInput& input);
