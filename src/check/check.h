#pragma once
// The placement check (--check, and the findings of the review page): what the layout file
// carries into a report that is otherwise exactly right. Errors need a fix before production;
// notes are worth a look. The findings are grouped by cause, one entry per kind and footprint,
// with its parts, the cause in words and, where there is one, the command-file line that mends it.
#include <array>
#include <string>
#include <vector>

#include "config/info_records.h"
#include "config/settings.h"
#include "geometry/geometry.h"
#include "project/records.h"

enum Severity : int { SEVERITY_ERROR = 0, SEVERITY_NOTE = 1 };

/// The kinds of finding, errors first. A part is reported under one kind only: the first of the
/// kinds about parts (all but duplicates, unmatched records and pin counts) that applies to it.
enum CheckKind : int {
    CHECK_PSEUDO_PART = 0,        // its footprint's only copper is one huge pad, or it has only lines
    CHECK_WITHOUT_COPPER,         // a placed part of class Null
    CHECK_ODD_SIDE,               // a side neither 0 (top) nor 1 (bottom)
    CHECK_CENTROID,               // an SMD part's placement point off its copper
    CHECK_OFF_BOARD,              // the placement point more than 2 mm off the board
    CHECK_DUPLICATE,              // a designator placed more than once
    CHECK_UNMATCHED_RECORD,       // an information record or override line that matches nothing
    CHECK_CENTROID_THROUGH_HOLE,  // note: a through-hole or mixed part's placement point off its copper
    CHECK_BODY_CENTRE,            // note: the placement point on the body's centre, off the copper's
    CHECK_OVER_EDGE,              // note: the placement point up to 2 mm over the board edge
    CHECK_SINGLE_PAD,             // note: a part with one pad (via, test pad, fiducial, free pad)
    CHECK_PIN_COUNT,              // note: n_pins differs from the pins listed
};
constexpr int CHECK_KIND_COUNT = 12;

/// What a kind is: its severity, a short stable word for files, and its title.
struct KindInfo {
    int severity;
    const char* word;
    const char* title;
};

/// The severity, word and title of a kind.
const KindInfo& kind_info(int kind);

/// "error" or "note", as the findings file and the review page name a severity.
const char* severity_word(int severity);

/// One entry: a cause and what it applies to.
struct Finding {
    int kind = CHECK_CENTROID;
    int footprint = -1;              // index in the footprint table, -1 when about no footprint
    std::vector<int> parts;          // indices in the part table, in designator order
    std::vector<double> distances;   // inches, one per part, for the kinds that measure one
    std::string subject;             // for entries about no footprint: the designator or the record
    std::string cause;               // in words, lengths in the report's units
    std::string fix;                 // the command-file line that mends it; empty when there is none
};

/// Every finding, errors first and then notes, each in the order of the kinds.
struct CheckFindings {
    std::vector<Finding> findings;
    int errors = 0;  // entries that are errors
    int notes = 0;   // entries that are notes
};

/// What the check reads: the report's units, the command file's records, the project as the
/// report shows it (information records applied, footprints with their copper) and its board
/// outline flattened.
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

/// Runs every check on `input` and returns the findings.
CheckFindings check_placement(const CheckInput& input);
