#pragma once
// The placement check (--check): errors that the layout file carries into a report that is
// otherwise exactly right, found from the numbers the run already has and the geometry of the
// pads and the board. The findings are plain records, printed on the console here and meant
// for the review page as well.
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "config/info_records.h"
#include "config/settings.h"
#include "geometry/geometry.h"
#include "project/records.h"

/// The kinds of finding, in the order they are printed.
enum CheckKind : int {
    CHECK_FAR_FROM_COPPER = 0,       // placement point far from the centre of the copper pads
    CHECK_OUTSIDE_BOARD = 1,         // placement point outside the board outline
    CHECK_DUPLICATE_DESIGNATOR = 2,  // a designator placed more than once
    CHECK_UNMATCHED_RECORD = 3,      // an -I record or override line that matches nothing
    CHECK_PIN_COUNT = 4,             // n_pins differs from the pins listed
    CHECK_WITHOUT_COPPER = 5,        // a part of class Null that is placed
};
constexpr int CHECK_KIND_COUNT = 6;

/// One finding: its kind, what it is about and the console text that names the figure.
struct Finding {
    int kind = CHECK_FAR_FROM_COPPER;
    int part = -1;       // index in the part table, -1 for none
    int footprint = -1;  // index in the footprint table, -1 for none
    std::string text;    // the console line without its indent
};

/// Every finding, grouped by kind in the order of the kinds, and the count of each kind.
struct CheckFindings {
    std::vector<Finding> findings;
    std::array<int, CHECK_KIND_COUNT> counts{};

    /// All findings together.
    int total() const { return static_cast<int>(findings.size()); }
};

/// What the check reads: the run's settings and command-file records, the project as the report
/// shows it (information records applied, footprints with their copper) and its board outline
/// flattened.
struct CheckInput {
    const ReportUnits& units;
    const InfoTable& info;
    const OverrideTable& overrides;
    const Project& project;
    const geometry::BoardRings& board;
};

/// The farthest a placement point may lie from the centre of the box of its footprint's copper
/// pads, in inches: a quarter of the box's longer side, and never less than 0.25 mm.
double copper_distance_limit(const geometry::Box& copper);

/// The heading of a kind of finding, as the console section and the review page print it.
const char* check_kind_title(int kind);

/// Runs every check on `input` and returns the findings.
CheckFindings check_placement(const CheckInput& input);

/// Prints the "Placement check" section: the findings under a heading per kind and a count per
/// kind, or that nothing was found.
void print_findings(std::ostream& console, const CheckFindings& result);
